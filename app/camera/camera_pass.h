#pragma once
// The webcam worker's pass with a camera: grab, recognise, show in the panel. The classic
// recognition runs on whatever the preview shows, then the worker sleeps as designed; the room
// recognition waits for each new camera picture instead and reads every one.
#include <string>

#include "app/config/options.h"

class CameraRecording;

struct CameraPassSetup {
    VisionMode vision = VisionMode::CLASSIC;
    // The players on the camera, bit 0 player 1, bit 1 player 2.
    int players = 3;
    // Where the camera's pictures go as they come (none when null); the worker closes it.
    CameraRecording* recording = nullptr;
};

// Before the worker starts.
void setUpCameraPass(const CameraPassSetup& setup);
// One pass; returns how long the worker sleeps after it, in milliseconds.
int cameraPass();
// When the worker ends: the recording is finished.
void endCameraPass();
