#pragma once
// The HUD's word on who plays: a "CPU EASY", "CPU NORMAL" or "CPU HARD" badge under the life
// bar of each side the computer plays.
#include "app/config/options.h"
#include "match/World.h"

// Call right after World::display, while the HUD frame is still set.
void drawSideBadges(World& world, const Options& options);
