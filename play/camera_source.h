#pragma once
// The camera as an input source: the six readings the worker last wrote, as one value. What
// they ask of the match is the rules' own cameraInput (match/Rules.h).
#include "match/Rules.h"
#include "vision/WebCam.h"

namespace play {

CameraReadings readCamera(const CWebCam& webcam);

}  // namespace play
