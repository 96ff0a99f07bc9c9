// The capture window as the game drives it, with in-memory windows and a clip as camera.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/driver.h"
#include "platform/win32.h"
#include "tests/platform/capture/clip_files.h"
#include "tests/platform/capture/video_devices.h"
#include "tests/support/headless_window.h"
#include "tests/support/scoped_env.h"

using testclip::anyVideoDevice;
using testclip::TempFile;

namespace {

class CaptureWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(panel_, nullptr);
        camera::setCaptureClock([this] { return time_; });
    }

    void TearDown() override { camera::setCaptureClock(nullptr); }

    // What the game does: the capture window at (440, 0) of the panel, driver 0.
    HWND createCapture() {
        return capCreateCaptureWindowA("handle", WS_CHILD | WS_VISIBLE, 440, 0, 320, 240, panel_,
                                       0);
    }

    // Connects with VORLAXIS_CAMERA set to `setting` (unset for null); returns the result and
    // what was printed on stderr.
    LRESULT connect(HWND capture, const char* setting, std::string& printed) {
        camera_.set(setting);
        ::testing::internal::CaptureStderr();
        const LRESULT result = SendMessageA(capture, WM_CAP_DRIVER_CONNECT, 0, 0);
        printed = ::testing::internal::GetCapturedStderr();
        return result;
    }

    void startPreview(HWND capture, int rate) {
        EXPECT_NE(SendMessageA(capture, WM_CAP_SET_SCALE, 1, 0), 0);
        EXPECT_NE(SendMessageA(capture, WM_CAP_SET_PREVIEWRATE, rate, 0), 0);
        EXPECT_NE(SendMessageA(capture, WM_CAP_SET_PREVIEW, 1, 0), 0);
    }

    static void pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

    static uint32_t pixelAt(HWND capture, int x, int y) {
        vorlaxis::platform::CanvasLock canvas(capture);
        return canvas.valid() ? canvas.row(y)[x] : 0xFFFFFFFF;
    }

    testsupport::HeadlessWindow window_{"capture-test-panel", 1200, 272, WS_OVERLAPPEDWINDOW,
                                        nullptr};
    HWND panel_ = window_.handle();
    double time_ = 100.0;
    testsupport::ScopedEnv camera_{"VORLAXIS_CAMERA"};
};

uint32_t greyOf(uint32_t pixel) { return pixel & 0xFF; }

// Studio-range red comes back within a level of pure red.
bool isRed(uint32_t pixel) {
    return (pixel >> 16) >= 250 && ((pixel >> 8) & 0xFF) <= 4 && (pixel & 0xFF) <= 4;
}

// A 640 x 480 clip at 10 frames a second: frame k is grey 16 + 10 k (studio range) with a
// red block in its top-left quarter, so scaling and orientation both show.
std::string markedClip(int frames) {
    std::string bytes = "YUV4MPEG2 W640 H480 F10:1 Ip C420jpeg\n";
    for (int k = 0; k < frames; ++k) {
        std::string y(640 * 480, static_cast<char>(16 + 10 * k));
        std::string u(320 * 240, '\x80'), v(320 * 240, '\x80');
        for (int row = 0; row < 240; ++row)
            for (int col = 0; col < 320; ++col) {
                y[row * 640 + col] = 81;
                if (row < 120 && col < 160) {
                    u[row * 320 + col] = 90;
                    v[row * 320 + col] = static_cast<char>(240);
                }
            }
        bytes += "FRAME\n" + y + u + v;
    }
    return bytes;
}

}  // namespace

TEST_F(CaptureWindow, PreviewShowsTheClipScaledAtThePreviewRate) {
    TempFile clip(".y4m");
    clip.write(markedClip(5));
    HWND capture = createCapture();
    ASSERT_TRUE(IsWindow(capture));
    std::string printed;
    ASSERT_NE(connect(capture, clip.path().c_str(), printed), 0) << printed;
    EXPECT_EQ(printed, "");
    startPreview(capture, 300);
    pump();
    // Frame 0: the red top-left quarter of 640 x 480 lands in the top-left quarter of 320 x 240.
    EXPECT_TRUE(isRed(pixelAt(capture, 10, 10)));
    EXPECT_TRUE(isRed(pixelAt(capture, 150, 110)));
    EXPECT_EQ(greyOf(pixelAt(capture, 200, 200)), 0u);

    // 0.25 s later: frame 2 is due, but the preview waits for its 300 ms.
    time_ += 0.25;
    pump();
    EXPECT_EQ(greyOf(pixelAt(capture, 200, 200)), 0u);
    time_ += 0.07;
    pump();
    EXPECT_NEAR(static_cast<int>(greyOf(pixelAt(capture, 200, 200))), 35, 1);  // frame 3: luma 46

    // The clip loops: 0.6 s later is 0.92 s in, frame 9 of a 5-frame clip is frame 4.
    time_ += 0.6;
    pump();
    EXPECT_NEAR(static_cast<int>(greyOf(pixelAt(capture, 200, 200))), 47, 1);  // luma 56
    DestroyWindow(capture);
    pump();  // a destroyed capture window is no longer refreshed
}

TEST_F(CaptureWindow, WithoutScaleThePictureIsShownAtItsOwnSize) {
    TempFile clip(".y4m");
    clip.write(markedClip(1));
    HWND capture = createCapture();
    std::string printed;
    ASSERT_NE(connect(capture, clip.path().c_str(), printed), 0) << printed;
    EXPECT_NE(SendMessageA(capture, WM_CAP_SET_PREVIEW, 1, 0), 0);
    pump();
    // The red quarter is 320 x 240 of the 640 x 480 picture: it fills the whole window.
    EXPECT_TRUE(isRed(pixelAt(capture, 319, 239)));
    EXPECT_TRUE(isRed(pixelAt(capture, 0, 0)));
}

TEST_F(CaptureWindow, PreviewNeedsAConnectedDriver) {
    HWND capture = createCapture();
    EXPECT_EQ(SendMessageA(capture, WM_CAP_SET_PREVIEW, 1, 0), 0);
    EXPECT_EQ(SendMessageA(panel_, WM_CAP_DRIVER_CONNECT, 0, 0), 0);  // not a capture window
    TempFile clip(".y4m");
    clip.write(markedClip(1));
    camera_.set(clip.path().c_str());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(SendMessageA(capture, WM_CAP_DRIVER_CONNECT, 1, 0), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("driver 1 does not exist"),
              std::string::npos);
}

TEST_F(CaptureWindow, ConnectFailuresSayWhatCouldNotBeUsedAndWhy) {
    HWND capture = createCapture();
    std::string printed;
    EXPECT_EQ(connect(capture, "/nonexistent.y4m", printed), 0);
    EXPECT_NE(printed.find("cannot open the clip /nonexistent.y4m: No such file or directory"),
              std::string::npos)
        << printed;

    TempFile text(".y4m");
    text.write("this is not a clip\n");
    EXPECT_EQ(connect(capture, text.path().c_str(), printed), 0);
    EXPECT_NE(printed.find(text.path() + ": not a YUV4MPEG2 clip"), std::string::npos) << printed;

    TempFile interlaced(".y4m");
    interlaced.write(testclip::greyRamp("YUV4MPEG2 W4 H2 F10:1 It", 4, 2, true, 1));
    EXPECT_EQ(connect(capture, interlaced.path().c_str(), printed), 0);
    EXPECT_NE(printed.find("interlaced"), std::string::npos) << printed;

    EXPECT_EQ(connect(capture, "/dev/video99", printed), 0);
    EXPECT_NE(printed.find("cannot open the camera /dev/video99: No such file or directory"),
              std::string::npos)
        << printed;

    EXPECT_EQ(connect(capture, "/dev/null", printed), 0);
    EXPECT_NE(printed.find("/dev/null is not a V4L2 device"), std::string::npos) << printed;
}

TEST_F(CaptureWindow, NoCameraAtAllIsNamedAsSuch) {
    if (anyVideoDevice()) GTEST_SKIP() << "this machine has a /dev/video device";
    HWND capture = createCapture();
    std::string printed;
    EXPECT_EQ(connect(capture, nullptr, printed), 0);
    EXPECT_NE(printed.find("no camera found"), std::string::npos) << printed;
    EXPECT_NE(printed.find("VORLAXIS_CAMERA"), std::string::npos) << printed;
    EXPECT_EQ(connect(capture, "", printed), 0);
    EXPECT_NE(printed.find("no camera found"), std::string::npos) << printed;
}

TEST_F(CaptureWindow, ADamagedClipTailIsReportedAndTheRestPlays) {
    TempFile clip(".y4m");
    clip.write(markedClip(2) + "FRAME\n" + std::string(1000, '\x10'));
    HWND capture = createCapture();
    std::string printed;
    ASSERT_NE(connect(capture, clip.path().c_str(), printed), 0);
    EXPECT_NE(printed.find("frame 3 is truncated"), std::string::npos) << printed;
    EXPECT_NE(printed.find("playing the 2 complete frames"), std::string::npos) << printed;
    startPreview(capture, 100);
    for (int i = 0; i < 5; ++i) {
        time_ += 0.1;
        pump();
    }
    EXPECT_TRUE(isRed(pixelAt(capture, 10, 10)));
}
