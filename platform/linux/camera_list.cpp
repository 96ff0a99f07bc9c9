// capGetDriverDescriptionA over V4L2: driver N is the Nth /dev/videoN node that captures
// video; its name is the card's, its version names the node and the kernel driver.
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/win32.h"

namespace {

constexpr int kMaxNodes = 64;

bool queryCapture(const std::string& path, v4l2_capability& caps) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd < 0) return false;
    const bool ok = ::ioctl(fd, VIDIOC_QUERYCAP, &caps) == 0;
    ::close(fd);
    if (!ok) return false;
    const __u32 what = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
    return (what & V4L2_CAP_VIDEO_CAPTURE) != 0;
}

void copyOut(LPSTR out, int size, const std::string& text) {
    if (!out || size <= 0) return;
    std::snprintf(out, static_cast<size_t>(size), "%s", text.c_str());
}

}  // namespace

BOOL WINAPI capGetDriverDescriptionA(UINT index, LPSTR name, int nameSize, LPSTR version,
                                     int versionSize) {
    UINT found = 0;
    for (int n = 0; n < kMaxNodes; ++n) {
        const std::string path = "/dev/video" + std::to_string(n);
        v4l2_capability caps{};
        if (!queryCapture(path, caps)) continue;
        if (found++ != index) continue;
        copyOut(name, nameSize, reinterpret_cast<const char*>(caps.card));
        copyOut(version, versionSize,
                path + ", driver " + reinterpret_cast<const char*>(caps.driver));
        return TRUE;
    }
    return FALSE;
}
