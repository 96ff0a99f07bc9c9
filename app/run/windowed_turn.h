#pragma once
// A pass of a windowed run's main loop, in every mode: the turn drawn and paced; while no turn
// is played (paused, waiting for the other game) the scene stands still, and the keys and pads
// are still read for what acts beside the match (pause, full screen, Escape).
#include "app/run/run.h"
#include "app/run/turn.h"

void playWindowedTurn(Run& run, World& world, TurnDriver& driver);
// Draws the match as it stands without moving its particles (a paused or waiting turn).
void drawStillScene(World& world, Referee& referee);
