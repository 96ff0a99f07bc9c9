// One open file of the simulated webcam: what a UVC driver answers to V4L2 calls, driven by
// the clock instead of a sensor. Faults and formats come from the test's environment,
// read when the node is opened:
//   VORLAXIS_SIM_DEVICE        capture node paths, colon-separated (/dev/video42)
//   VORLAXIS_SIM_META_DEVICE   a metadata-only node beside them
//   VORLAXIS_SIM_CLIP          the .y4m clip it films (looping, at the clip's frame rate)
//   VORLAXIS_SIM_FORMATS       "YUYV=640x480,1280x720 MJPG=1280x720" (default: both formats
//                              at 640x480, 1280x720 and 320x240)
//   VORLAXIS_SIM_BUSY=1        S_FMT, REQBUFS and STREAMON fail with EBUSY
//   VORLAXIS_SIM_DENIED=1      open fails with EACCES
//   VORLAXIS_SIM_UNPLUG_AFTER=N  after N frames every call fails with ENODEV
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <linux/videodev2.h>

#include "tests/v4l2sim/sim_clip.h"

namespace v4l2sim {

struct Size {
    int width, height;
};

struct Format {
    uint32_t fourcc;
    std::vector<Size> sizes;
};

// What a node is, from the environment. `kind` is None for paths the simulation does not own.
struct NodeConfig {
    enum Kind { None, Capture, Meta } kind = None;
    int number = 0;  // N of /dev/videoN
    std::vector<Format> formats;
    std::string clipPath;
    bool busy = false;
    bool denied = false;
    long unplugAfter = -1;
};

NodeConfig nodeConfig(const char* path);

// The low-level calls the device makes, so it never re-enters the interposed ones.
struct Kernel {
    void* (*mmap)(void*, size_t, int, int, int, off_t);
    int (*munmap)(void*, size_t);
};

class SimDevice {
public:
    SimDevice(const NodeConfig& config, int memfd, const Kernel& kernel);
    ~SimDevice();

    // Returns 0 or -errno.
    int ioctl(unsigned long request, void* arg, bool nonBlocking);
    // poll(2) events for this node now.
    short pollEvents();
    // Seconds until the next frame is due (or a large number when none will come).
    double secondsToNextFrame() const;
    // Checks that [offset, offset + length) is one buffer; -errno otherwise.
    int checkMapping(size_t length, off_t offset) const;

private:
    enum class BufferState { Dequeued, Queued, Done };
    struct Buffer {
        BufferState state = BufferState::Dequeued;
        uint32_t bytesUsed = 0;
        uint32_t sequence = 0;
        double time = 0.0;
    };

    int querycap(v4l2_capability& caps) const;
    int enumFormat(v4l2_fmtdesc& desc) const;
    int enumSizes(v4l2_frmsizeenum& sizes) const;
    int enumIntervals(v4l2_frmivalenum& intervals) const;
    int tryFormat(v4l2_format& format) const;
    int setFormat(v4l2_format& format);
    int getParm(v4l2_streamparm& parm) const;
    int requestBuffers(v4l2_requestbuffers& request);
    int queryBuffer(v4l2_buffer& buf) const;
    int queueBuffer(v4l2_buffer& buf);
    int dequeueBuffer(v4l2_buffer& buf, bool nonBlocking);
    int streamOn();
    int streamOff();
    void describe(int index, v4l2_buffer& buf) const;
    void produce();
    void fill(Buffer& buffer, int index, uint32_t frame);
    bool capture() const { return config_.kind == NodeConfig::Capture; }
    const Format* findFormat(uint32_t fourcc) const;
    uint32_t imageSize(uint32_t fourcc, int width, int height) const;
    double fps() const;
    bool ensureClip() const;
    void freeBuffers();

    NodeConfig config_;
    int memfd_;
    Kernel kernel_;
    // Loaded on first need: listing cameras opens every node only to ask what it is.
    mutable SimClip clip_;
    mutable bool clipLoaded_ = false;
    mutable bool clipTried_ = false;
    v4l2_pix_format pix_{};
    std::vector<Buffer> buffers_;
    std::deque<int> queued_;
    std::deque<int> done_;
    size_t bufferStride_ = 0;
    uint8_t* memory_ = nullptr;
    bool streaming_ = false;
    double start_ = 0.0;
    long produced_ = 0;
    long delivered_ = 0;
    bool gone_ = false;
};

double monotonicSeconds();

}  // namespace v4l2sim
