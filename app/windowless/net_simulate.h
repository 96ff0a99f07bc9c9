#pragma once
// A network match with no window, no sound and no camera: the local side is the computer, the
// other side plays at the other game, and the turns still run at the steady rate.
#include "app/config/options.h"

// The whole run: finding the other game, the matches, the recording, the closing figures;
// returns the exit code.
int runNetSimulation(Options& options);
