// The simulated node's streaming: memory-mapped buffers, their queues, and frames produced
// on the clock into the queued buffers.
#include "tests/v4l2sim/sim_device.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

namespace v4l2sim {

namespace {

constexpr uint32_t kMaxBuffers = 32;

}  // namespace

void SimDevice::freeBuffers() {
    if (memory_) kernel_.munmap(memory_, bufferStride_ * buffers_.size());
    memory_ = nullptr;
    buffers_.clear();
    queued_.clear();
    done_.clear();
}

int SimDevice::requestBuffers(v4l2_requestbuffers& request) {
    if (!capture() || request.type != V4L2_BUF_TYPE_VIDEO_CAPTURE ||
        request.memory != V4L2_MEMORY_MMAP)
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
    if (buf.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || buf.memory != V4L2_MEMORY_MMAP ||
        buf.index >= buffers_.size())
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
        const std::vector<uint8_t>& bytes =
            clip_.encoded(static_cast<int>(frame), pix_.pixelformat, width, height);
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
    if (bufferStride_ == 0 || offset < 0 || static_cast<size_t>(offset) % bufferStride_ != 0)
        return -EINVAL;
    const size_t index = static_cast<size_t>(offset) / bufferStride_;
    if (index >= buffers_.size() || length > bufferStride_) return -EINVAL;
    return 0;
}

}  // namespace v4l2sim
