// A real webcam through libv4l2, which converts whatever the device streams (YUYV, motion
// JPEG, ...) to RGB24 and, where the camera has a picture twice the asked size, halves it.
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

    // Opens the device without blocking, checks it captures video, asks for RGB24 at
    // 320 x 240 (any size the camera settles on is accepted: the preview scales it) and starts
    // streaming, or read() where the device offers only that. False with the reason otherwise,
    // saying what to do where the player can do something (busy, permission).
    bool open(const std::string& path, std::string& error);

    // Takes the newest picture the device has ready into `out`, without waiting. False when
    // none is ready or the device has gone; a device that vanishes is reported once on
    // stderr and `out` keeps the last picture.
    bool poll(RgbFrame& out);

    const std::string& path() const { return path_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    struct Mapping {
        void* start = nullptr;
        size_t length = 0;
    };

    void close();
    bool setFormat(std::string& error);
    bool startStreaming(std::string& error);
    bool pollStream(RgbFrame& out);
    bool pollRead(RgbFrame& out);
    void keep(const uint8_t* picture, RgbFrame& out) const;
    void reportLost(int err);
    std::string failure(const std::string& what, int err) const;

    std::string path_;
    int fd_ = -1;
    int width_ = 0;
    int height_ = 0;
    size_t bytesPerLine_ = 0;
    bool streaming_ = false;
    std::vector<Mapping> mappings_;
    std::vector<uint8_t> buffer_;  // read() only
    bool lost_ = false;
};

// What a V4L2 node says of itself, for choosing and listing cameras.
struct VideoNode {
    std::string path;
    std::string card;
    std::string driver;
    bool captures = false;  // streams or reads video pictures
    int openError = 0;      // errno when it could not even be asked
};

// /dev/video0 .. /dev/video63 that exist, in order, each asked what it is.
std::vector<VideoNode> videoNodes();

// Whether the node counts as a capture driver: it captures video, or it could not be asked
// (so that the player learns why it cannot be used rather than meeting the next camera).
bool isCaptureDriver(const VideoNode& node);

// Opens capture device number `index` (0 the first) of the nodes that capture video, skipping
// the others (metadata nodes, output devices); a node that cannot be opened counts, so its
// reason is the one given. When there is none, the error says whether there was no device at
// all or why each one was refused.
bool openV4l2Camera(int index, V4l2Camera& camera, std::string& error);

}  // namespace camera
