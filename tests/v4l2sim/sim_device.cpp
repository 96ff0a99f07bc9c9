#include "tests/v4l2sim/sim_device.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

namespace v4l2sim {

namespace {

constexpr uint32_t kMaxBuffers = 32;
constexpr uint32_t kCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING |
                           V4L2_CAP_EXT_PIX_FORMAT | V4L2_CAP_DEVICE_CAPS;

bool listed(const char* list, const char* path) {
    if (!list) return false;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ':'))
        if (item == path) return true;
    return false;
}

bool flag(const char* name) {
    const char* value = std::getenv(name);
    return value && *value && std::strcmp(value, "0") != 0;
}

uint32_t fourccOf(const std::string& name) {
    if (name.size() != 4) return 0;
    return v4l2_fourcc(name[0], name[1], name[2], name[3]);
}

// "YUYV=640x480,1280x720 MJPG=1280x720"
std::vector<Format> parseFormats(const char* text) {
    std::vector<Format> formats;
    std::stringstream in(text);
    std::string group;
    while (in >> group) {
        const size_t eq = group.find('=');
        if (eq == std::string::npos) continue;
        Format format{fourccOf(group.substr(0, eq)), {}};
        std::stringstream sizes(group.substr(eq + 1));
        std::string size;
        while (std::getline(sizes, size, ',')) {
            Size s{};
            if (std::sscanf(size.c_str(), "%dx%d", &s.width, &s.height) == 2) format.sizes.push_back(s);
        }
        if (format.fourcc && !format.sizes.empty()) formats.push_back(format);
    }
    return formats;
}

template <size_t N>
void copyText(uint8_t (&field)[N], const std::string& text) {
    std::snprintf(reinterpret_cast<char*>(field), N, "%s", text.c_str());
}

}  // namespace

double monotonicSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

NodeConfig nodeConfig(const char* path) {
    NodeConfig config;
    if (!path || std::strncmp(path, "/dev/video", 10) != 0) return config;
    if (listed(std::getenv("VORLAXIS_SIM_DEVICE"), path))
        config.kind = NodeConfig::Capture;
    else if (listed(std::getenv("VORLAXIS_SIM_META_DEVICE"), path))
        config.kind = NodeConfig::Meta;
    else
        return config;
    config.number = std::atoi(path + 10);
    const char* formats = std::getenv("VORLAXIS_SIM_FORMATS");
    config.formats = parseFormats(formats && *formats ? formats
                                                      : "YUYV=640x480,1280x720,320x240 MJPG=640x480,1280x720,320x240");
    if (const char* clip = std::getenv("VORLAXIS_SIM_CLIP")) config.clipPath = clip;
    config.busy = flag("VORLAXIS_SIM_BUSY");
    config.denied = flag("VORLAXIS_SIM_DENIED");
    if (const char* after = std::getenv("VORLAXIS_SIM_UNPLUG_AFTER")) config.unplugAfter = std::atol(after);
    return config;
}

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

void SimDevice::freeBuffers() {
    if (memory_) kernel_.munmap(memory_, bufferStride_ * buffers_.size());
    memory_ = nullptr;
    buffers_.clear();
    queued_.clear();
    done_.clear();
}

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
    caps.device_caps = (capture() ? V4L2_CAP_VIDEO_CAPTURE : V4L2_CAP_META_CAPTURE) | V4L2_CAP_STREAMING |
                       V4L2_CAP_EXT_PIX_FORMAT;
    return 0;
}

int SimDevice::enumFormat(v4l2_fmtdesc& desc) const {
    if (!capture() || desc.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || desc.index >= config_.formats.size())
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
        return s.width == static_cast<int>(intervals.width) && s.height == static_cast<int>(intervals.height);
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
    pix.colorspace = chosen->fourcc == V4L2_PIX_FMT_MJPEG ? V4L2_COLORSPACE_JPEG : V4L2_COLORSPACE_SRGB;
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

int SimDevice::requestBuffers(v4l2_requestbuffers& request) {
    if (!capture() || request.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || request.memory != V4L2_MEMORY_MMAP)
        return -EINVAL;
    if (config_.busy || streaming_) return -EBUSY;
    freeBuffers();
    request.capabilities = V4L2_BUF_CAP_SUPPORTS_MMAP;
    if (request.count == 0) return 0;
    request.count = std::min(request.count, kMaxBuffers);
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    bufferStride_ = (pix_.sizeimage + page - 1) / page * page;
    const size_t total = bufferStride_ * request.count;
    if (ftruncate(memfd_, static_cast<off_t>(total)) != 0) return -ENOMEM;
    void* memory = kernel_.mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_SHARED, memfd_, 0);
    if (memory == MAP_FAILED) return -ENOMEM;
    memory_ = static_cast<uint8_t*>(memory);
    buffers_.assign(request.count, Buffer{});
    return 0;
}

void SimDevice::describe(int index, v4l2_buffer& buf) const {
    const Buffer& b = buffers_[static_cast<size_t>(index)];
    buf = v4l2_buffer{};
    buf.index = static_cast<uint32_t>(index);
    buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buf.memory = V4L2_MEMORY_MMAP;
    buf.field = V4L2_FIELD_NONE;
    buf.length = pix_.sizeimage;
    buf.m.offset = static_cast<uint32_t>(bufferStride_ * static_cast<size_t>(index));
    buf.bytesused = b.bytesUsed;
    buf.sequence = b.sequence;
    buf.timestamp.tv_sec = static_cast<time_t>(b.time);
    buf.timestamp.tv_usec = static_cast<suseconds_t>((b.time - std::floor(b.time)) * 1e6);
    buf.flags = V4L2_BUF_FLAG_MAPPED | V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC;
    if (b.state == BufferState::Queued) buf.flags |= V4L2_BUF_FLAG_QUEUED;
    if (b.state == BufferState::Done) buf.flags |= V4L2_BUF_FLAG_DONE;
}

int SimDevice::queryBuffer(v4l2_buffer& buf) const {
    if (buf.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || buf.index >= buffers_.size()) return -EINVAL;
    describe(static_cast<int>(buf.index), buf);
    return 0;
}

int SimDevice::queueBuffer(v4l2_buffer& buf) {
    if (buf.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || buf.memory != V4L2_MEMORY_MMAP || buf.index >= buffers_.size())
        return -EINVAL;
    Buffer& b = buffers_[buf.index];
    if (b.state != BufferState::Dequeued) return -EINVAL;
    b.state = BufferState::Queued;
    queued_.push_back(static_cast<int>(buf.index));
    describe(static_cast<int>(buf.index), buf);
    return 0;
}

void SimDevice::fill(Buffer& buffer, int index, uint32_t frame) {
    uint8_t* data = memory_ + bufferStride_ * static_cast<size_t>(index);
    const int width = static_cast<int>(pix_.width), height = static_cast<int>(pix_.height);
    if (ensureClip()) {
        const std::vector<uint8_t>& bytes = clip_.encoded(static_cast<int>(frame), pix_.pixelformat, width, height);
        const size_t n = std::min<size_t>(bytes.size(), pix_.sizeimage);
        std::memcpy(data, bytes.data(), n);
        buffer.bytesUsed = static_cast<uint32_t>(n);
    } else {
        // No clip: mid-grey YUYV, or an empty motion JPEG frame a decoder rejects.
        const size_t n = pix_.pixelformat == V4L2_PIX_FMT_YUYV ? pix_.sizeimage : 0;
        std::memset(data, 128, n);
        buffer.bytesUsed = static_cast<uint32_t>(n);
    }
    buffer.sequence = frame;
    buffer.time = start_ + frame / fps();
    buffer.state = BufferState::Done;
}

// Frames that fell due since the last look go into queued buffers in order; with no buffer
// queued a frame is dropped, as a camera's would be.
void SimDevice::produce() {
    if (!streaming_) return;
    const long due = static_cast<long>(std::floor((monotonicSeconds() - start_) * fps()));
    while (produced_ < due && !queued_.empty()) {
        const int index = queued_.front();
        queued_.pop_front();
        fill(buffers_[static_cast<size_t>(index)], index, static_cast<uint32_t>(produced_));
        done_.push_back(index);
        ++produced_;
    }
    produced_ = std::max(produced_, due);
}

double SimDevice::secondsToNextFrame() const {
    if (!streaming_ || gone_) return 1e9;
    return std::max(0.0, start_ + (produced_ + 1) / fps() - monotonicSeconds());
}

int SimDevice::dequeueBuffer(v4l2_buffer& buf, bool nonBlocking) {
    if (buf.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || buf.memory != V4L2_MEMORY_MMAP) return -EINVAL;
    if (!streaming_) return -EINVAL;
    if (config_.unplugAfter >= 0 && delivered_ >= config_.unplugAfter) {
        gone_ = true;
        return -ENODEV;
    }
    produce();
    while (done_.empty()) {
        if (nonBlocking) return -EAGAIN;
        if (queued_.empty()) return -EINVAL;  // nothing could ever arrive
        const double wait = secondsToNextFrame() + 0.0005;
        timespec ts{static_cast<time_t>(wait), static_cast<long>((wait - std::floor(wait)) * 1e9)};
        nanosleep(&ts, nullptr);
        produce();
    }
    const int index = done_.front();
    done_.pop_front();
    buffers_[static_cast<size_t>(index)].state = BufferState::Dequeued;
    describe(index, buf);
    ++delivered_;
    return 0;
}

int SimDevice::streamOn() {
    if (!capture()) return -EINVAL;
    if (config_.busy) return -EBUSY;
    if (buffers_.empty()) return -EINVAL;
    if (streaming_) return 0;
    streaming_ = true;
    start_ = monotonicSeconds();
    produced_ = 0;
    return 0;
}

int SimDevice::streamOff() {
    if (!capture()) return -EINVAL;
    streaming_ = false;
    queued_.clear();
    done_.clear();
    for (Buffer& b : buffers_) b.state = BufferState::Dequeued;
    return 0;
}

short SimDevice::pollEvents() {
    if (gone_ || (config_.unplugAfter >= 0 && delivered_ >= config_.unplugAfter && streaming_))
        return POLLERR | POLLHUP;
    if (!streaming_) return POLLERR;
    produce();
    return done_.empty() ? 0 : (POLLIN | POLLRDNORM);
}

int SimDevice::checkMapping(size_t length, off_t offset) const {
    if (gone_) return -ENODEV;
    if (bufferStride_ == 0 || offset < 0 || static_cast<size_t>(offset) % bufferStride_ != 0) return -EINVAL;
    const size_t index = static_cast<size_t>(offset) / bufferStride_;
    if (index >= buffers_.size() || length > bufferStride_) return -EINVAL;
    return 0;
}

}  // namespace v4l2sim
