#include "app/room_camera.h"

#include <cstdio>
#include <string>

RoomCamera::RoomCamera() : room_(std::make_unique<vision::room::RoomVision>()) {}

void RoomCamera::calibrate() {
    std::string problem;
    calibrated_ = true;
    if (!room_->calibrate(problem)) {
        std::fprintf(stderr, "vorlaxis: the room recognition could not calibrate: %s\n",
                     problem.c_str());
        return;
    }
    if (!problem.empty()) std::fprintf(stderr, "vorlaxis: %s\n", problem.c_str());
    std::printf("Room recognition: calibrated\n");
    std::fflush(stdout);
}

void RoomCamera::pass(CWebCam& cam) {
    Image& frame = cam.images[0];
    if (!calibrated_) {
        const auto now = std::chrono::steady_clock::now();
        if (!started_) {
            start_ = now;
            started_ = true;
        }
        const double seconds = std::chrono::duration<double>(now - start_).count();
        if (seconds < vision::room::kPhaseSeconds) {
            room_->addReference(frame);
            return;
        }
        if (seconds < 2 * vision::room::kPhaseSeconds) {
            room_->addPalm(frame);
            return;
        }
        calibrate();
    }
    if (!room_->calibrated()) return;
    room_->read(frame, cam);
    room_->drawMask(frame);
}
