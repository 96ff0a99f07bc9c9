// --list-gamepads: the pads SDL finds, one a line, for choosing each player's pad in the
// settings file.
#pragma once

#include <cstdio>

// Prints "N: name (A axes, B buttons)" for each pad SDL finds, or "no gamepad found", to
// `out`. 0; 1, after saying why on standard error, when SDL's joystick support cannot start.
int listGamepads(std::FILE* out = stdout);
