// The simulated webcam itself, through the plain calls a V4L2 program makes: what it claims to
// be, how it picks sizes, when frames are ready, and how its faults show. The game's tests
// lean on these answers being those of a UVC camera.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/select.h>
#include <unistd.h>

#include "tests/support/scratch_folder.h"
#include "tests/support/y4m_writer.h"
#include "tests/webcam/sim_webcam.h"

namespace {

const bool kPreloaded = simcam::restartWithSimulation();

class SimDevice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kPreloaded);
        clip_ = testsupport::scratchPath("simdevice", ".y4m");
        testsupport::writeQuadrantClip(clip_, 64, 48, 20, 2);  // a frame every 50 ms
        sim_.set("VORLAXIS_SIM_DEVICE", "/dev/video42").set("VORLAXIS_SIM_CLIP", clip_);
    }
    void TearDown() override {
        if (fd_ >= 0) ::close(fd_);
        std::remove(clip_.c_str());
    }

    void openDevice(int flags = O_RDWR | O_NONBLOCK) {
        fd_ = ::open("/dev/video42", flags);
        ASSERT_GE(fd_, 0) << std::strerror(errno);
    }

    // YUYV 320x240 with two queued, mapped buffers, streaming.
    void startStreaming() {
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix = {320, 240, V4L2_PIX_FMT_YUYV, V4L2_FIELD_NONE, 0, 0, 0, 0, 0, 0, 0, 0};
        ASSERT_EQ(::ioctl(fd_, VIDIOC_S_FMT, &format), 0);
        v4l2_requestbuffers request{};
        request.count = 2;
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        ASSERT_EQ(::ioctl(fd_, VIDIOC_REQBUFS, &request), 0);
        for (unsigned int i = 0; i < request.count; ++i) {
            v4l2_buffer buf = emptyBuffer();
            buf.index = i;
            ASSERT_EQ(::ioctl(fd_, VIDIOC_QUERYBUF, &buf), 0);
            void* start = ::mmap(nullptr, buf.length, PROT_READ, MAP_SHARED, fd_, buf.m.offset);
            ASSERT_NE(start, MAP_FAILED);
            maps_.push_back(static_cast<uint8_t*>(start));
            ASSERT_EQ(::ioctl(fd_, VIDIOC_QBUF, &buf), 0);
        }
        EXPECT_EQ(::mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd_, 12345),
                  MAP_FAILED);  // no buffer there
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        ASSERT_EQ(::ioctl(fd_, VIDIOC_STREAMON, &type), 0);
    }

    static v4l2_buffer emptyBuffer() {
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        return buf;
    }

    int fd_ = -1;
    std::vector<uint8_t*> maps_;
    std::string clip_;
    simcam::SimSettings sim_;
};

TEST_F(SimDevice, AnswersLikeAUvcCameraAndPicksTheNearestSize) {
    openDevice();
    v4l2_capability caps{};
    ASSERT_EQ(::ioctl(fd_, VIDIOC_QUERYCAP, &caps), 0);
    EXPECT_STREQ(reinterpret_cast<char*>(caps.driver), "uvcvideo");
    EXPECT_EQ(caps.device_caps & (V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_READWRITE),
              V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING);
    v4l2_fmtdesc desc{};
    desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    desc.index = 1;
    ASSERT_EQ(::ioctl(fd_, VIDIOC_ENUM_FMT, &desc), 0);
    EXPECT_EQ(desc.pixelformat, V4L2_PIX_FMT_MJPEG);
    desc.index = 2;
    EXPECT_EQ(::ioctl(fd_, VIDIOC_ENUM_FMT, &desc), -1);
    EXPECT_EQ(errno, EINVAL);

    const struct {
        uint32_t fourcc, width, height, wantWidth, wantHeight;
    } cases[] = {{V4L2_PIX_FMT_RGB24, 300, 200, 320, 240},
                 {V4L2_PIX_FMT_MJPEG, 1100, 650, 1280, 720},
                 {V4L2_PIX_FMT_YUYV, 700, 500, 640, 480}};
    for (const auto& c : cases) {
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix.pixelformat = c.fourcc;
        format.fmt.pix.width = c.width;
        format.fmt.pix.height = c.height;
        ASSERT_EQ(::ioctl(fd_, VIDIOC_TRY_FMT, &format), 0);
        EXPECT_EQ(format.fmt.pix.pixelformat,
                  c.fourcc == V4L2_PIX_FMT_RGB24 ? V4L2_PIX_FMT_YUYV : c.fourcc);
        EXPECT_EQ(format.fmt.pix.width, c.wantWidth);
        EXPECT_EQ(format.fmt.pix.height, c.wantHeight);
    }
    EXPECT_EQ(::ioctl(fd_, _IO('V', 200), nullptr), -1);
    EXPECT_EQ(errno, ENOTTY);
    char byte;
    EXPECT_EQ(::read(fd_, &byte, 1), -1);  // streaming only, like UVC
    EXPECT_EQ(errno, EINVAL);
}

TEST_F(SimDevice, FramesBecomeReadyAtTheClipsRate) {
    openDevice();
    startStreaming();
    v4l2_buffer buf = emptyBuffer();
    EXPECT_EQ(::ioctl(fd_, VIDIOC_DQBUF, &buf), -1);  // the first frame is 50 ms away
    EXPECT_EQ(errno, EAGAIN);
    const auto start = std::chrono::steady_clock::now();
    pollfd p{fd_, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);
    EXPECT_TRUE(p.revents & POLLIN);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
    ASSERT_EQ(::ioctl(fd_, VIDIOC_DQBUF, &buf), 0);
    EXPECT_EQ(buf.bytesused, 320u * 240 * 2);
    // YUYV of the red top-left quadrant: full-range luma 76, Cr high.
    EXPECT_NEAR(maps_[buf.index][0], 76, 3);
    EXPECT_GT(maps_[buf.index][3], 240);
    ASSERT_EQ(::ioctl(fd_, VIDIOC_QBUF, &buf), 0);

    fd_set read;
    FD_ZERO(&read);
    FD_SET(fd_, &read);
    timeval timeout{5, 0};
    ASSERT_EQ(::select(fd_ + 1, &read, nullptr, nullptr, &timeout), 1);
    EXPECT_TRUE(FD_ISSET(fd_, &read));
}

TEST_F(SimDevice, FaultsComeAsTheKernelWouldReportThem) {
    sim_.set("VORLAXIS_SIM_DENIED", "1");
    EXPECT_EQ(::open("/dev/video42", O_RDWR), -1);
    EXPECT_EQ(errno, EACCES);
    sim_.set("VORLAXIS_SIM_DENIED", "0").set("VORLAXIS_SIM_BUSY", "1");
    openDevice();
    v4l2_format format{};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    EXPECT_EQ(::ioctl(fd_, VIDIOC_S_FMT, &format), -1);
    EXPECT_EQ(errno, EBUSY);
    ::close(fd_);

    sim_.set("VORLAXIS_SIM_BUSY", "0").set("VORLAXIS_SIM_UNPLUG_AFTER", "1");
    openDevice(O_RDWR);  // blocking: DQBUF waits for the frame
    startStreaming();
    v4l2_buffer buf = emptyBuffer();
    ASSERT_EQ(::ioctl(fd_, VIDIOC_DQBUF, &buf), 0);
    pollfd p{fd_, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 0), 1);
    EXPECT_TRUE(p.revents & POLLERR);
    EXPECT_EQ(::ioctl(fd_, VIDIOC_DQBUF, &buf), -1);
    EXPECT_EQ(errno, ENODEV);

    sim_.set("VORLAXIS_SIM_META_DEVICE", "/dev/video41");
    const int meta = ::open("/dev/video41", O_RDWR);
    ASSERT_GE(meta, 0);
    v4l2_capability caps{};
    ASSERT_EQ(::ioctl(meta, VIDIOC_QUERYCAP, &caps), 0);
    EXPECT_EQ(caps.device_caps & (V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_META_CAPTURE),
              V4L2_CAP_META_CAPTURE);
    EXPECT_TRUE(caps.capabilities & V4L2_CAP_VIDEO_CAPTURE);  // the whole camera's, as UVC says
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    EXPECT_EQ(::ioctl(meta, VIDIOC_G_FMT, &format), -1);
    ::close(meta);
}

}  // namespace
