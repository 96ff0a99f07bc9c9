#pragma once
// The network line along the bottom of the fight window: the other game's address, the round trip
// and the input delay; "WAITING FOR THE OTHER PLAYER" when nothing has come for a second;
// while the games look for each other, what this one waits for.
#include <cstdint>

#include "app/network/net_game.h"

// Call after the HUD of the turn is drawn.
void drawNetHud(const NetGame& game, int64_t nowMs);
