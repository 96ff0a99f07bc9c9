#pragma once
// The camera as an input source: the six readings the worker last wrote, handed to the rules'
// own camera route, which clears the turn's record and fills it.
#include "match/World.h"
#include "vision/WebCam.h"

namespace play {

void takeCameraReadings(World& world, const CWebCam& webcam);

}  // namespace play
