#include "platform/capture/v4l2_camera.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <libv4l2.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace camera {

namespace {

constexpr int kAskedWidth = 320;
constexpr int kAskedHeight = 240;
constexpr int kMaxDevices = 64;
// Two buffers: one filling while the other waits to be taken. libv4l2 converts each picture
// as it is dequeued, so more buffers would only mean more conversions of older pictures.
constexpr unsigned int kBuffers = 2;
// Pictures taken per poll at most: enough to drain the queue and keep the newest.
constexpr int kMaxDrain = 4;

int xioctl(int fd, unsigned long request, void* arg) {
    int result;
    do {
        result = v4l2_ioctl(fd, request, arg);
    } while (result == -1 && errno == EINTR);
    return result;
}

// The node's own capabilities, not those of the whole camera (which lists its metadata node's too).
unsigned int ownCaps(const v4l2_capability& caps) {
    return (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
}

bool capturesVideo(const v4l2_capability& caps) {
    const unsigned int own = ownCaps(caps);
    return (own & V4L2_CAP_VIDEO_CAPTURE) && (own & (V4L2_CAP_READWRITE | V4L2_CAP_STREAMING));
}

std::string text(const uint8_t* field) { return reinterpret_cast<const char*>(field); }

std::string openFailure(const std::string& path, int err) {
    if (err == EACCES || err == EPERM)
        return "cannot open the camera " + path +
               ": permission denied: add yourself to the video group (sudo usermod -aG video "
               "$USER, "
               "then log in again)";
    if (err == EBUSY) return "camera " + path + " is in use by another program: close it";
    return "cannot open the camera " + path + ": " + std::strerror(err);
}

}  // namespace

V4l2Camera::~V4l2Camera() { close(); }

void V4l2Camera::close() {
    if (streaming_) {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        xioctl(fd_, VIDIOC_STREAMOFF, &type);
    }
    for (const Mapping& m : mappings_) v4l2_munmap(m.start, m.length);
    mappings_.clear();
    streaming_ = false;
    if (fd_ >= 0) v4l2_close(fd_);
    fd_ = -1;
    lost_ = false;
}

std::string V4l2Camera::failure(const std::string& what, int err) const {
    if (err == EBUSY) return "camera " + path_ + " is in use by another program: close it";
    if (err == ENODEV || err == ENXIO) return "camera " + path_ + " has gone (unplugged?)";
    return "camera " + path_ + " " + what + ": " + std::strerror(err);
}

bool V4l2Camera::open(const std::string& path, std::string& error) {
    close();
    path_ = path;
    // Checked with plain calls first: libv4l2 prints its own complaints about non-devices.
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd < 0) {
        error = openFailure(path, errno);
        return false;
    }
    v4l2_capability caps{};
    if (::ioctl(fd, VIDIOC_QUERYCAP, &caps) != 0) {
        error = path + " is not a V4L2 device: " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    if (!capturesVideo(caps)) {
        error = path + " (" + text(caps.card) + ") does not capture video pictures";
        if (ownCaps(caps) & V4L2_CAP_META_CAPTURE)
            error += ": it is a camera's metadata node, try its other node";
        ::close(fd);
        return false;
    }
    fd_ = v4l2_fd_open(fd, 0);
    if (fd_ < 0) {
        error = failure("cannot be used through libv4l2", errno);
        ::close(fd);
        return false;
    }
    if (!setFormat(error)) return false;
    if (ownCaps(caps) & V4L2_CAP_STREAMING) return startStreaming(error);
    buffer_.resize(bytesPerLine_ * static_cast<size_t>(height_));
    return true;
}

// libv4l2 offers RGB24 for any format it can convert and answers with the size it can give:
// the camera's nearest, or half of a picture twice as large.
bool V4l2Camera::setFormat(std::string& error) {
    v4l2_format format{};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    format.fmt.pix.width = kAskedWidth;
    format.fmt.pix.height = kAskedHeight;
    format.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
    format.fmt.pix.field = V4L2_FIELD_ANY;
    if (xioctl(fd_, VIDIOC_S_FMT, &format) != 0) {
        error = failure("refuses the RGB24 picture format", errno);
        return false;
    }
    if (format.fmt.pix.pixelformat != V4L2_PIX_FMT_RGB24 || format.fmt.pix.width == 0 ||
        format.fmt.pix.height == 0) {
        error = "camera " + path_ + " offers no picture format libv4l2 can turn into RGB24";
        return false;
    }
    width_ = static_cast<int>(format.fmt.pix.width);
    height_ = static_cast<int>(format.fmt.pix.height);
    bytesPerLine_ = std::max<size_t>(format.fmt.pix.bytesperline, static_cast<size_t>(width_) * 3);
    return true;
}

bool V4l2Camera::startStreaming(std::string& error) {
    v4l2_requestbuffers request{};
    request.count = kBuffers;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (xioctl(fd_, VIDIOC_REQBUFS, &request) != 0 || request.count == 0) {
        error = failure("gives no picture buffers", request.count == 0 ? ENOMEM : errno);
        return false;
    }
    for (unsigned int i = 0; i < request.count; ++i) {
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = i;
        if (xioctl(fd_, VIDIOC_QUERYBUF, &buf) != 0) {
            error = failure("does not describe its picture buffers", errno);
            return false;
        }
        void* start =
            v4l2_mmap(nullptr, buf.length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, buf.m.offset);
        if (start == MAP_FAILED) {
            error = failure("picture buffers cannot be mapped", errno);
            return false;
        }
        mappings_.push_back({start, buf.length});
        if (xioctl(fd_, VIDIOC_QBUF, &buf) != 0) {
            error = failure("does not take its picture buffers", errno);
            return false;
        }
    }
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(fd_, VIDIOC_STREAMON, &type) != 0) {
        error = failure("does not start streaming", errno);
        return false;
    }
    streaming_ = true;
    return true;
}

void V4l2Camera::reportLost(int err) {
    lost_ = true;
    std::fprintf(
        stderr,
        "Camera %s stopped delivering pictures (%s): the preview keeps the last one and the game "
        "goes on\n",
        path_.c_str(), std::strerror(err));
}

void V4l2Camera::keep(const uint8_t* picture, RgbFrame& out) const {
    if (out.width != width_ || out.height != height_) out.resize(width_, height_);
    const size_t rowBytes = static_cast<size_t>(width_) * 3;
    for (int row = 0; row < height_; ++row)
        std::memcpy(out.rgb.data() + row * rowBytes, picture + row * bytesPerLine_, rowBytes);
}

bool V4l2Camera::pollStream(RgbFrame& out) {
    const size_t needed = bytesPerLine_ * static_cast<size_t>(height_);
    bool got = false;
    for (int i = 0; i < kMaxDrain; ++i) {
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        if (xioctl(fd_, VIDIOC_DQBUF, &buf) != 0) {
            if (errno != EAGAIN) reportLost(errno);
            break;
        }
        // A damaged picture (a short or undecodable motion JPEG frame) is skipped.
        const bool whole = buf.index < mappings_.size() && buf.bytesused >= needed &&
                           !(buf.flags & V4L2_BUF_FLAG_ERROR) &&
                           mappings_[buf.index].length >= needed;
        if (whole) {
            keep(static_cast<const uint8_t*>(mappings_[buf.index].start), out);
            got = true;
        }
        if (xioctl(fd_, VIDIOC_QBUF, &buf) != 0) {
            reportLost(errno);
            break;
        }
    }
    return got;
}

bool V4l2Camera::pollRead(RgbFrame& out) {
    bool got = false;
    for (int i = 0; i < kMaxDrain; ++i) {
        const ssize_t n = v4l2_read(fd_, buffer_.data(), buffer_.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno != EAGAIN) reportLost(errno);
            break;
        }
        if (static_cast<size_t>(n) < buffer_.size())
            continue;  // a short read is not a whole picture
        keep(buffer_.data(), out);
        got = true;
    }
    return got;
}

bool V4l2Camera::poll(RgbFrame& out) {
    if (lost_ || fd_ < 0) return false;
    return streaming_ ? pollStream(out) : pollRead(out);
}

bool isCaptureDriver(const VideoNode& node) { return node.captures || node.openError != 0; }

std::vector<VideoNode> videoNodes() {
    std::vector<VideoNode> nodes;
    for (int i = 0; i < kMaxDevices; ++i) {
        VideoNode node;
        node.path = "/dev/video" + std::to_string(i);
        struct stat info {};
        if (::stat(node.path.c_str(), &info) != 0) continue;
        const int fd = ::open(node.path.c_str(), O_RDWR | O_NONBLOCK);
        if (fd < 0) {
            node.openError = errno;
            nodes.push_back(node);
            continue;
        }
        v4l2_capability caps{};
        if (::ioctl(fd, VIDIOC_QUERYCAP, &caps) == 0) {
            node.card = text(caps.card);
            node.driver = text(caps.driver);
            node.captures = capturesVideo(caps);
        }
        ::close(fd);
        nodes.push_back(node);
    }
    return nodes;
}

bool openV4l2Camera(int index, V4l2Camera& camera, std::string& error) {
    const std::vector<VideoNode> nodes = videoNodes();
    std::string skipped;
    int seen = 0;
    for (const VideoNode& node : nodes) {
        if (!isCaptureDriver(node)) {
            skipped += (skipped.empty() ? "" : ", ") + node.path + " (" + node.card + ")";
            continue;
        }
        if (seen++ != index) continue;
        if (node.openError != 0) {
            error = openFailure(node.path, node.openError);
            return false;
        }
        return camera.open(node.path, error);
    }
    if (nodes.empty()) {
        error =
            "no camera found: there is no /dev/video* device and VORLAXIS_CAMERA is not set "
            "(set it to a /dev/videoN device or a .y4m clip)";
    } else if (seen == 0) {
        error =
            "no camera found: " + skipped +
            " captures no video pictures; plug in a webcam or set VORLAXIS_CAMERA to a .y4m clip";
    } else {
        error = "there is no camera " + std::to_string(index) + ": only " + std::to_string(seen) +
                " found (numbered from 0)";
    }
    return false;
}

}  // namespace camera
