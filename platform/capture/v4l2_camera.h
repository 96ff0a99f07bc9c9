// A real webcam through libv4l2, which converts whatever the device streams to RGB24.
#pragma once

#include <string>
#include <vector>

#include "platform/capture/camera_frame.h"

namespace camera {

class V4l2Camera {
public:
    V4l2Camera() = default;
    ~V4l2Camera();
    V4l2Camera(const V4l2Camera&) = delete;
    V4l2Camera& operator=(const V4l2Camera&) = delete;

    // Opens the device without blocking, checks it captures video and asks for RGB24 at
    // 320 x 240; any size the device settles on is accepted. False with the reason otherwise.
    bool open(const std::string& path, std::string& error);

    // Takes the newest picture the device has ready into `out`, without waiting. False when
    // none is ready or the device has gone; a device that vanishes is reported once on
    // stderr and `out` keeps the last picture.
    bool poll(RgbFrame& out);

    const std::string& path() const { return path_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void close();
    bool setFormat(std::string& error);
    void reportLost(int err);

    std::string path_;
    int fd_ = -1;
    int width_ = 0;
    int height_ = 0;
    size_t bytesPerLine_ = 0;
    std::vector<uint8_t> buffer_;
    bool lost_ = false;
};

// Opens the first of /dev/video0 .. /dev/video63 that captures video. When none does, the
// error says whether there was no device at all or why each one was refused.
bool openFirstV4l2Camera(V4l2Camera& camera, std::string& error);

}  // namespace camera
