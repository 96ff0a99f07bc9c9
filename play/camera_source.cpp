#include "play/camera_source.h"

namespace play {

void takeCameraReadings(World& world, const CWebCam& webcam) {
    constexpr auto relaxed = std::memory_order_relaxed;
    world.handleWebcamEvents(webcam.baryX1.load(relaxed), webcam.baryY1.load(relaxed),
                             webcam.baryX2.load(relaxed), webcam.baryY2.load(relaxed),
                             webcam.rps1.load(relaxed), webcam.rps2.load(relaxed));
}

}  // namespace play
