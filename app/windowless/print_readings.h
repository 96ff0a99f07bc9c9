#pragma once
// --print-readings: the camera's recognition run on every frame of a clip, without a window,
// sound or display, one line of readings a frame on standard output.
#include "app/config/options.h"

// Reads options.camera as a .y4m clip and prints, for each of its frames from 0,
//   frame N: H1 baryX1 baryY1 rps1 H2 baryX2 baryY2 rps2
// H being 1 when that half holds a hand. The room recognition first calibrates on the clip's
// first two seconds. Returns the exit code: 0, or 1 after a message when the clip cannot be
// read or is too short to calibrate on.
int printReadings(const Options& options);
