// The room recognition on the live camera. The first second of the worker's passes gives the
// picture of the room with the players' hands down, the next second their palms on the marks;
// from then on every pass is read. Until then the readings keep their start values.
#pragma once

#include <chrono>
#include <memory>

#include "vision/WebCam.h"
#include "vision/room/RoomVision.h"

class RoomCamera {
public:
    RoomCamera();
    // Works on the frame just grabbed into slot 0; once calibrated, the readings go to `cam`
    // and slot 0 shows the room mask.
    void pass(CWebCam& cam);

private:
    void calibrate();

    std::unique_ptr<vision::room::RoomVision> room_;
    std::chrono::steady_clock::time_point start_;
    bool started_ = false;
    bool calibrated_ = false;
};
