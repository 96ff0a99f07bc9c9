#pragma once
// One frame's readings as one line, "frame N: H1 X1 Y1 SIGN1 H2 X2 Y2 SIGN2": what
// --print-readings prints and --record-camera keeps beside its clip.
#include <cstdio>

#include "vision/WebCam.h"

// False when the line could not be written.
bool writeReadingsLine(std::FILE* to, int frame, const CWebCam& cam);
