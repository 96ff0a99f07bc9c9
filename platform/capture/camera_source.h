// Capture driver N: the device or clip named by VORLAXIS_CAMERA (then the only driver, 0),
// else the Nth V4L2 camera.
#pragma once

#include <memory>
#include <string>

#include "platform/capture/camera_frame.h"
#include "platform/capture/v4l2_camera.h"
#include "platform/capture/y4m.h"

namespace camera {

class CameraSource {
public:
    // `setting` is the value of VORLAXIS_CAMERA (null or empty when unset), `driver` the
    // capture driver's number. On failure returns false and `error` names what could not be
    // used and why.
    bool connect(const char* setting, int driver, std::string& error);
    bool connected() const { return clip_ || device_; }

    // The picture due `seconds` after connecting: the clip's frame at that time, looping, or
    // the device's newest one. True when `out` received a different picture; on a failing
    // read it keeps the last one (reported once on stderr).
    bool pictureAt(double seconds, RgbFrame& out);

    // One line saying what is connected, e.g. for the start-up log.
    std::string describe() const;

private:
    bool pictureFromClip(double seconds, RgbFrame& out);

    std::unique_ptr<Y4mClip> clip_;
    std::unique_ptr<V4l2Camera> device_;
    std::string name_;
    int shownFrame_ = -1;
    bool clipFailed_ = false;
};

// True when the setting names a camera device rather than a clip file.
bool namesDevice(const std::string& setting);

}  // namespace camera
