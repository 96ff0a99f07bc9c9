#include "platform/capture/camera_source.h"

#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>

namespace camera {

namespace {

// " (from --camera)": the setting the player has to correct, as the game recorded it.
std::string origin() {
    const char* from = std::getenv("VORLAXIS_CAMERA_FROM");
    return std::string(" (from ") + (from && *from ? from : "VORLAXIS_CAMERA") + ")";
}

}  // namespace

bool namesDevice(const std::string& setting) {
    struct stat info {};
    if (::stat(setting.c_str(), &info) == 0) return S_ISCHR(info.st_mode);
    return setting.rfind("/dev/", 0) == 0;
}

bool CameraSource::connect(const char* setting, int driver, std::string& error) {
    clip_.reset();
    device_.reset();
    shownFrame_ = -1;
    clipFailed_ = false;
    const std::string named = setting ? setting : "";
    if (named.empty()) {
        auto device = std::make_unique<V4l2Camera>();
        if (!openV4l2Camera(driver, *device, error)) return false;
        name_ = device->path();
        device_ = std::move(device);
        return true;
    }
    name_ = named;
    if (driver != 0) {
        error = "capture driver " + std::to_string(driver) + " does not exist: the camera named" +
                origin() + " is the only one, driver 0";
        return false;
    }
    if (namesDevice(named)) {
        auto device = std::make_unique<V4l2Camera>();
        if (!device->open(named, error)) {
            error += origin();
            return false;
        }
        device_ = std::move(device);
        return true;
    }
    auto clip = std::make_unique<Y4mClip>();
    if (!clip->open(named, error)) {
        error += origin();
        return false;
    }
    if (!clip->warning().empty())
        std::fprintf(stderr, "Clip %s: %s; playing the %d complete frames\n", named.c_str(),
                     clip->warning().c_str(), clip->frameCount());
    clip_ = std::move(clip);
    return true;
}

bool CameraSource::pictureFromClip(double seconds, RgbFrame& out) {
    const int index = clip_->frameIndexAt(seconds);
    if (index == shownFrame_ || clipFailed_) return false;
    std::string error;
    if (!clip_->readFrame(index, out, error)) {
        clipFailed_ = true;
        std::fprintf(stderr, "%s; the preview keeps the last picture\n", error.c_str());
        return false;
    }
    shownFrame_ = index;
    return true;
}

bool CameraSource::pictureAt(double seconds, RgbFrame& out) {
    if (clip_) return pictureFromClip(seconds, out);
    if (device_) return device_->poll(out);
    return false;
}

std::string CameraSource::describe() const {
    if (clip_) {
        const Y4mHeader& h = clip_->header();
        char details[128];
        std::snprintf(details, sizeof details, " (%dx%d, %g frames a second, %d frames)", h.width,
                      h.height, static_cast<double>(h.rateNum) / h.rateDen, clip_->frameCount());
        return "clip " + name_ + details;
    }
    if (device_)
        return "camera " + name_ + " (" + std::to_string(device_->width()) + "x" +
               std::to_string(device_->height()) + ")";
    return "no camera";
}

}  // namespace camera
