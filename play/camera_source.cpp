#include "play/camera_source.h"

namespace play {

CameraReadings readCamera(const CWebCam& webcam) {
    constexpr auto relaxed = std::memory_order_relaxed;
    return {webcam.baryX1.load(relaxed), webcam.baryY1.load(relaxed), webcam.baryX2.load(relaxed),
            webcam.baryY2.load(relaxed), webcam.rps1.load(relaxed),   webcam.rps2.load(relaxed)};
}

}  // namespace play
