#pragma once
// The windowed game's turn in a network match: finding the other game while the scene waits,
// then the match at the steady pace, drawn as it stands (predicted where the other side's
// input has not arrived), with the network line on the HUD and the panel.
#include "app/network/net_game.h"
#include "app/turn/turn_sources.h"

// Opens the network side of the run once the world is set up (the host having chosen its
// seed); false after saying why.
bool openNetPlay(NetGame& game);
// One pass of the main loop.
void playNetTurn(NetGame& game, TurnSources& sources);
// After the main loop: tells the other side when the player ended the run, says how it ended
// and returns the exit code.
int endNetPlay(NetGame& game);
