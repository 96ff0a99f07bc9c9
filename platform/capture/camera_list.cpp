// The list of capture drivers: one per V4L2 device that captures video, numbered as the
// capture window's driver connection numbers them, each described by its card name and its
// path, driver and the picture formats and sizes the camera itself offers (before libv4l2's
// conversions).
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/capture/v4l2_camera.h"
#include "platform/win32.h"

namespace {

std::string fourccName(uint32_t fourcc) {
    std::string name;
    for (int shift = 0; shift < 32; shift += 8) {
        const char c = static_cast<char>((fourcc >> shift) & 0xFF);
        if (c != ' ' && c != '\0') name += c;
    }
    return name;
}

std::string sizesOf(int fd, uint32_t fourcc) {
    std::string sizes;
    v4l2_frmsizeenum size{};
    size.pixel_format = fourcc;
    for (size.index = 0; ::ioctl(fd, VIDIOC_ENUM_FRAMESIZES, &size) == 0; ++size.index) {
        if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            sizes += " " + std::to_string(size.discrete.width) + "x" +
                     std::to_string(size.discrete.height);
        } else {
            sizes += " " + std::to_string(size.stepwise.min_width) + "x" +
                     std::to_string(size.stepwise.min_height) + "-" +
                     std::to_string(size.stepwise.max_width) + "x" +
                     std::to_string(size.stepwise.max_height);
            break;
        }
    }
    return sizes;
}

// "YUYV 640x480 1280x720, MJPG 1280x720"
std::string formatsOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd < 0) return "";
    std::string formats;
    v4l2_fmtdesc desc{};
    desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    for (desc.index = 0; ::ioctl(fd, VIDIOC_ENUM_FMT, &desc) == 0; ++desc.index)
        formats += (formats.empty() ? "" : ", ") + fourccName(desc.pixelformat) +
                   sizesOf(fd, desc.pixelformat);
    ::close(fd);
    return formats;
}

void copyOut(const std::string& text, LPSTR out, int size) {
    if (out && size > 0) std::snprintf(out, static_cast<size_t>(size), "%s", text.c_str());
}

}  // namespace

BOOL WINAPI capGetDriverDescriptionA(UINT index, LPSTR name, int nameSize, LPSTR version,
                                     int versionSize) {
    UINT seen = 0;
    for (const camera::VideoNode& node : camera::videoNodes()) {
        if (!camera::isCaptureDriver(node) || seen++ != index) continue;
        if (node.openError != 0) {
            copyOut("camera that cannot be opened", name, nameSize);
            copyOut(node.path + ": " + std::strerror(node.openError), version, versionSize);
            return TRUE;
        }
        std::string details = node.path + ", driver " + node.driver;
        const std::string formats = formatsOf(node.path);
        if (!formats.empty()) details += ", " + formats;
        copyOut(node.card, name, nameSize);
        copyOut(details, version, versionSize);
        return TRUE;
    }
    return FALSE;
}
