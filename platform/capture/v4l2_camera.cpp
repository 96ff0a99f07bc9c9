#include "platform/capture/v4l2_camera.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <libv4l2.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace camera {

namespace {

constexpr int kAskedWidth = 320;
constexpr int kAskedHeight = 240;
constexpr int kMaxDevices = 64;
// Frames taken per poll at most: enough to drain a driver's queue and keep the newest.
constexpr int kMaxDrain = 8;

std::string describeErrno(int err) { return std::strerror(err); }

int xioctl(int fd, unsigned long request, void* arg) {
    int result;
    do {
        result = v4l2_ioctl(fd, request, arg);
    } while (result == -1 && errno == EINTR);
    return result;
}

bool capturesVideo(const v4l2_capability& caps, const std::string& path, std::string& error) {
    const unsigned int own = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
    const std::string card = reinterpret_cast<const char*>(caps.card);
    if (!(own & V4L2_CAP_VIDEO_CAPTURE)) {
        error = path + " (" + card + ") does not capture video";
        return false;
    }
    if (!(own & (V4L2_CAP_READWRITE | V4L2_CAP_STREAMING))) {
        error = path + " (" + card + ") offers neither read nor streaming I/O";
        return false;
    }
    return true;
}

}  // namespace

V4l2Camera::~V4l2Camera() { close(); }

void V4l2Camera::close() {
    if (fd_ >= 0) v4l2_close(fd_);
    fd_ = -1;
    lost_ = false;
}

bool V4l2Camera::open(const std::string& path, std::string& error) {
    close();
    path_ = path;
    // Checked with plain calls first: libv4l2 prints its own complaints about non-devices.
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd < 0) {
        error = "cannot open the camera " + path + ": " + describeErrno(errno);
        return false;
    }
    v4l2_capability caps{};
    if (::ioctl(fd, VIDIOC_QUERYCAP, &caps) != 0) {
        error = path + " is not a V4L2 device: " + describeErrno(errno);
        ::close(fd);
        return false;
    }
    if (!capturesVideo(caps, path, error)) {
        ::close(fd);
        return false;
    }
    fd_ = v4l2_fd_open(fd, 0);
    if (fd_ < 0) {
        error = "libv4l2 cannot use the camera " + path + ": " + describeErrno(errno);
        ::close(fd);
        return false;
    }
    return setFormat(error);
}

bool V4l2Camera::setFormat(std::string& error) {
    v4l2_format format{};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    format.fmt.pix.width = kAskedWidth;
    format.fmt.pix.height = kAskedHeight;
    format.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
    format.fmt.pix.field = V4L2_FIELD_ANY;
    if (xioctl(fd_, VIDIOC_S_FMT, &format) != 0) {
        error = "camera " + path_ + " refuses the RGB24 picture format: " + describeErrno(errno);
        return false;
    }
    if (format.fmt.pix.pixelformat != V4L2_PIX_FMT_RGB24 || format.fmt.pix.width == 0 ||
        format.fmt.pix.height == 0) {
        error = "camera " + path_ + " cannot deliver RGB24 pictures";
        return false;
    }
    width_ = static_cast<int>(format.fmt.pix.width);
    height_ = static_cast<int>(format.fmt.pix.height);
    bytesPerLine_ = std::max<size_t>(format.fmt.pix.bytesperline, static_cast<size_t>(width_) * 3);
    buffer_.resize(std::max<size_t>(format.fmt.pix.sizeimage, bytesPerLine_ * height_));
    return true;
}

void V4l2Camera::reportLost(int err) {
    lost_ = true;
    std::fprintf(stderr, "Camera %s stopped delivering pictures (%s); the preview keeps the last one\n",
                 path_.c_str(), describeErrno(err).c_str());
}

bool V4l2Camera::poll(RgbFrame& out) {
    if (lost_ || fd_ < 0) return false;
    bool got = false;
    const size_t needed = bytesPerLine_ * static_cast<size_t>(height_);
    for (int i = 0; i < kMaxDrain; ++i) {
        const ssize_t n = v4l2_read(fd_, buffer_.data(), buffer_.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno != EAGAIN) reportLost(errno);
            break;
        }
        if (static_cast<size_t>(n) < needed) continue;  // a short read is not a whole picture
        if (out.width != width_ || out.height != height_) out.resize(width_, height_);
        const size_t rowBytes = static_cast<size_t>(width_) * 3;
        for (int row = 0; row < height_; ++row)
            std::memcpy(out.rgb.data() + row * rowBytes, buffer_.data() + row * bytesPerLine_, rowBytes);
        got = true;
    }
    return got;
}

bool openFirstV4l2Camera(V4l2Camera& camera, std::string& error) {
    std::string refusals;
    for (int i = 0; i < kMaxDevices; ++i) {
        const std::string path = "/dev/video" + std::to_string(i);
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) continue;
        std::string why;
        if (camera.open(path, why)) return true;
        refusals += (refusals.empty() ? "" : "; ") + why;
    }
    error = refusals.empty()
                ? "no camera found: there is no /dev/video* device and VORLAXIS_CAMERA is not set "
                  "(set it to a /dev/videoN device or a .y4m clip)"
                : "no usable camera: " + refusals;
    return false;
}

}  // namespace camera
