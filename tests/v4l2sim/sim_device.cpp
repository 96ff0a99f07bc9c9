// The simulated node's identity and format negotiation: the ioctl dispatch, the capability,
// format, size and frame-rate queries, and choosing a format.
#include "tests/v4l2sim/sim_device.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace v4l2sim {

namespace {

constexpr uint32_t kCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING |
                           V4L2_CAP_EXT_PIX_FORMAT | V4L2_CAP_DEVICE_CAPS;

template <size_t N>
void copyText(uint8_t (&field)[N], const std::string& text) {
    std::snprintf(reinterpret_cast<char*>(field), N, "%s", text.c_str());
}

}  // namespace

SimDevice::SimDevice(const NodeConfig& config, int memfd, const Kernel& kernel)
    : config_(config), memfd_(memfd), kernel_(kernel) {
    if (capture() && !config_.formats.empty()) {
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix.pixelformat = config_.formats[0].fourcc;
        format.fmt.pix.width = static_cast<uint32_t>(config_.formats[0].sizes[0].width);
        format.fmt.pix.height = static_cast<uint32_t>(config_.formats[0].sizes[0].height);
        tryFormat(format);
        pix_ = format.fmt.pix;
    }
}

SimDevice::~SimDevice() { freeBuffers(); }

bool SimDevice::ensureClip() const {
    if (!clipTried_ && !config_.clipPath.empty()) {
        std::string error;
        clipLoaded_ = clip_.load(config_.clipPath, error);
        if (!clipLoaded_) std::fprintf(stderr, "v4l2sim: %s\n", error.c_str());
    }
    clipTried_ = true;
    return clipLoaded_;
}

double SimDevice::fps() const { return ensureClip() ? clip_.framesPerSecond() : 30.0; }

const Format* SimDevice::findFormat(uint32_t fourcc) const {
    for (const Format& f : config_.formats)
        if (f.fourcc == fourcc) return &f;
    return nullptr;
}

uint32_t SimDevice::imageSize(uint32_t, int width, int height) const {
    // Both YUYV and the largest motion JPEG frame the encoder makes fit in 2 bytes a pixel.
    return static_cast<uint32_t>(width * height * 2);
}

int SimDevice::ioctl(unsigned long request, void* arg, bool nonBlocking) {
    if (gone_) return -ENODEV;
    switch (static_cast<unsigned int>(request)) {
    case VIDIOC_QUERYCAP: return querycap(*static_cast<v4l2_capability*>(arg));
    case VIDIOC_ENUM_FMT: return enumFormat(*static_cast<v4l2_fmtdesc*>(arg));
    case VIDIOC_ENUM_FRAMESIZES: return enumSizes(*static_cast<v4l2_frmsizeenum*>(arg));
    case VIDIOC_ENUM_FRAMEINTERVALS: return enumIntervals(*static_cast<v4l2_frmivalenum*>(arg));
    case VIDIOC_G_FMT: {
        auto& format = *static_cast<v4l2_format*>(arg);
        if (!capture() || format.type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return -EINVAL;
        format.fmt.pix = pix_;
        return 0;
    }
    case VIDIOC_TRY_FMT: return tryFormat(*static_cast<v4l2_format*>(arg));
    case VIDIOC_S_FMT: return setFormat(*static_cast<v4l2_format*>(arg));
    case VIDIOC_G_PARM:
    case VIDIOC_S_PARM: return getParm(*static_cast<v4l2_streamparm*>(arg));
    case VIDIOC_REQBUFS: return requestBuffers(*static_cast<v4l2_requestbuffers*>(arg));
    case VIDIOC_QUERYBUF: return queryBuffer(*static_cast<v4l2_buffer*>(arg));
    case VIDIOC_QBUF: return queueBuffer(*static_cast<v4l2_buffer*>(arg));
    case VIDIOC_DQBUF: return dequeueBuffer(*static_cast<v4l2_buffer*>(arg), nonBlocking);
    case VIDIOC_STREAMON: return streamOn();
    case VIDIOC_STREAMOFF: return streamOff();
    case VIDIOC_ENUMINPUT: {
        auto& input = *static_cast<v4l2_input*>(arg);
        if (!capture() || input.index != 0) return -EINVAL;
        const uint32_t index = input.index;
        input = v4l2_input{};
        input.index = index;
        copyText(input.name, "Camera 1");
        input.type = V4L2_INPUT_TYPE_CAMERA;
        return 0;
    }
    case VIDIOC_G_INPUT: *static_cast<int*>(arg) = 0; return capture() ? 0 : -ENOTTY;
    case VIDIOC_S_INPUT: return capture() && *static_cast<int*>(arg) == 0 ? 0 : -EINVAL;
    // No controls: a driver answers EINVAL past its last one.
    case VIDIOC_QUERYCTRL:
    case VIDIOC_QUERY_EXT_CTRL:
    case VIDIOC_G_CTRL:
    case VIDIOC_S_CTRL:
    case VIDIOC_G_EXT_CTRLS:
    case VIDIOC_S_EXT_CTRLS:
    case VIDIOC_TRY_EXT_CTRLS:
    case VIDIOC_QUERYMENU: return -EINVAL;
    default: return -ENOTTY;
    }
}

int SimDevice::querycap(v4l2_capability& caps) const {
    caps = v4l2_capability{};
    copyText(caps.driver, "uvcvideo");
    copyText(caps.card, "Vorlaxis Sim Webcam");
    copyText(caps.bus_info, "usb-vorlaxis-sim-" + std::to_string(config_.number));
    caps.version = (6u << 16) | (1u << 8);
    caps.capabilities = kCaps;
    caps.device_caps = (capture() ? V4L2_CAP_VIDEO_CAPTURE : V4L2_CAP_META_CAPTURE) |
                       V4L2_CAP_STREAMING | V4L2_CAP_EXT_PIX_FORMAT;
    return 0;
}

int SimDevice::enumFormat(v4l2_fmtdesc& desc) const {
    if (!capture() || desc.type != V4L2_BUF_TYPE_VIDEO_CAPTURE ||
        desc.index >= config_.formats.size())
        return -EINVAL;
    const uint32_t fourcc = config_.formats[desc.index].fourcc;
    const uint32_t index = desc.index;
    desc = v4l2_fmtdesc{};
    desc.index = index;
    desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    desc.pixelformat = fourcc;
    desc.flags = fourcc == V4L2_PIX_FMT_MJPEG ? V4L2_FMT_FLAG_COMPRESSED : 0;
    copyText(desc.description, fourcc == V4L2_PIX_FMT_MJPEG ? "Motion-JPEG" : "YUYV 4:2:2");
    return 0;
}

int SimDevice::enumSizes(v4l2_frmsizeenum& sizes) const {
    const Format* format = capture() ? findFormat(sizes.pixel_format) : nullptr;
    if (!format || sizes.index >= format->sizes.size()) return -EINVAL;
    sizes.type = V4L2_FRMSIZE_TYPE_DISCRETE;
    sizes.discrete.width = static_cast<uint32_t>(format->sizes[sizes.index].width);
    sizes.discrete.height = static_cast<uint32_t>(format->sizes[sizes.index].height);
    return 0;
}

int SimDevice::enumIntervals(v4l2_frmivalenum& intervals) const {
    const Format* format = capture() ? findFormat(intervals.pixel_format) : nullptr;
    if (!format || intervals.index != 0) return -EINVAL;
    const bool known = std::any_of(format->sizes.begin(), format->sizes.end(), [&](const Size& s) {
        return s.width == static_cast<int>(intervals.width) &&
               s.height == static_cast<int>(intervals.height);
    });
    if (!known) return -EINVAL;
    intervals.type = V4L2_FRMIVAL_TYPE_DISCRETE;
    intervals.discrete.numerator = 1000;
    intervals.discrete.denominator = static_cast<uint32_t>(std::lround(fps() * 1000));
    return 0;
}

// As uvcvideo: an unknown pixel format becomes the first one, the size the one whose area
// differs least from the request.
int SimDevice::tryFormat(v4l2_format& format) const {
    if (!capture() || format.type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return -EINVAL;
    v4l2_pix_format& pix = format.fmt.pix;
    const Format* chosen = findFormat(pix.pixelformat);
    if (!chosen) chosen = &config_.formats[0];
    const Size* best = nullptr;
    long bestDistance = 0;
    for (const Size& s : chosen->sizes) {
        const long w = s.width, h = s.height, rw = pix.width, rh = pix.height;
        const long overlap = std::min(w, rw) * std::min(h, rh);
        const long distance = w * h + rw * rh - 2 * overlap;
        if (!best || distance < bestDistance) {
            best = &s;
            bestDistance = distance;
        }
    }
    pix = v4l2_pix_format{};
    pix.width = static_cast<uint32_t>(best->width);
    pix.height = static_cast<uint32_t>(best->height);
    pix.pixelformat = chosen->fourcc;
    pix.field = V4L2_FIELD_NONE;
    pix.bytesperline = chosen->fourcc == V4L2_PIX_FMT_YUYV ? pix.width * 2 : 0;
    pix.sizeimage = imageSize(chosen->fourcc, best->width, best->height);
    pix.colorspace =
        chosen->fourcc == V4L2_PIX_FMT_MJPEG ? V4L2_COLORSPACE_JPEG : V4L2_COLORSPACE_SRGB;
    return 0;
}

int SimDevice::setFormat(v4l2_format& format) {
    const int result = tryFormat(format);
    if (result != 0) return result;
    if (config_.busy || streaming_ || !buffers_.empty()) return -EBUSY;
    pix_ = format.fmt.pix;
    return 0;
}

int SimDevice::getParm(v4l2_streamparm& parm) const {
    if (!capture() || parm.type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return -EINVAL;
    parm.parm.capture = v4l2_captureparm{};
    parm.parm.capture.capability = V4L2_CAP_TIMEPERFRAME;
    parm.parm.capture.timeperframe.numerator = 1000;
    parm.parm.capture.timeperframe.denominator = static_cast<uint32_t>(std::lround(fps() * 1000));
    parm.parm.capture.readbuffers = 0;
    return 0;
}

}  // namespace v4l2sim
