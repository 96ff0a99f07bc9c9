// The game's camera path (capture window, libv4l2, frame store) against the simulated UVC
// webcam: the right picture in the preview and in slot 0, device choice, listing, and what
// the player is told when the camera cannot be used.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

#include "platform/driver.h"
#include "platform/win32.h"
#include "tests/platform/capture/video_devices.h"
#include "tests/support/headless_window.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/y4m_writer.h"
#include "tests/webcam/sim_webcam.h"
#include "vision/WebCam.h"
#include "vision/panel_layout.h"

namespace {

const bool kPreloaded = simcam::restartWithSimulation();

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double kDeadlineSeconds = 60;
#else
constexpr double kDeadlineSeconds = 20;
#endif

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Pumps the previews until `done` holds or the deadline passes.
bool pumpUntil(const std::function<bool()>& done) {
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(kDeadlineSeconds);
    while (std::chrono::steady_clock::now() < end) {
        pump();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

struct Rgb {
    int r, g, b;
};

// Mean colour of a quadrant's inner part (a margin of 12 pixels keeps scaling's blur out).
template <typename At>
Rgb quadrantMean(int quadrant, At at) {
    const int x0 = (quadrant % 2) * 160 + 12, y0 = (quadrant / 2) * 120 + 12;
    long sum[3] = {0, 0, 0}, n = 0;
    for (int y = y0; y < y0 + 96; ++y)
        for (int x = x0; x < x0 + 136; ++x, ++n) {
            const Rgb c = at(x, y);
            sum[0] += c.r, sum[1] += c.g, sum[2] += c.b;
        }
    return {static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n),
            static_cast<int>(sum[2] / n)};
}

template <typename At>
bool showsQuadrants(At at, std::string& why) {
    for (int q = 0; q < 4; ++q) {
        const Rgb m = quadrantMean(q, at);
        const uint8_t* want = testsupport::kQuadrantRgb[q];
        if (std::abs(m.r - want[0]) > 10 || std::abs(m.g - want[1]) > 10 ||
            std::abs(m.b - want[2]) > 10) {
            why = "quadrant " + std::to_string(q) + " is (" + std::to_string(m.r) + ", " +
                  std::to_string(m.g) + ", " + std::to_string(m.b) + ")";
            return false;
        }
    }
    return true;
}

// Both halves of the preview hold a hand: pixels far brighter than the dark background.
bool handsShown(HWND capture) {
    vorlaxis::platform::CanvasLock canvas(capture);
    if (!canvas.valid()) return false;
    bool half[2] = {false, false};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) half[x / 160] |= ((canvas.row(y)[x] >> 8) & 0xFF) > 150;
    return half[0] && half[1];
}

class Webcam : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kPreloaded);
        // Cameras are found by number: a real one would come before the simulated ones.
        if (testclip::anyVideoDevice()) GTEST_SKIP() << "this machine has a /dev/video device";
        ASSERT_NE(panel_, nullptr);
        clip_ = testsupport::scratchPath("webcam", ".y4m");
        testsupport::writeQuadrantClip(clip_, 640, 480, 30, 3);
        sim_.set("VORLAXIS_SIM_CLIP", clip_);
    }
    void TearDown() override { std::remove(clip_.c_str()); }

    HWND createCapture() {
        return capCreateCaptureWindowA("handle", WS_CHILD | WS_VISIBLE, panel::kPreviewX, 0, 320,
                                       240, panel_, 0);
    }

    // Connects capture driver `driver`; returns the result, and what was printed.
    static LRESULT connect(HWND capture, WPARAM driver, std::string& out, std::string& err) {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const LRESULT result = SendMessageA(capture, WM_CAP_DRIVER_CONNECT, driver, 0);
        err = ::testing::internal::GetCapturedStderr();
        out = ::testing::internal::GetCapturedStdout();
        return result;
    }

    static std::string connectFailure(HWND capture) {
        std::string out, err;
        EXPECT_EQ(connect(capture, 0, out, err), 0) << out;
        return err;
    }

    static Rgb canvasAt(HWND capture, int x, int y) {
        vorlaxis::platform::CanvasLock canvas(capture);
        const uint32_t p = canvas.valid() ? canvas.row(y)[x] : 0;
        return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                static_cast<int>(p & 0xFF)};
    }

    testsupport::HeadlessWindow window_{"webcam-test-panel", 1200, 272, WS_OVERLAPPEDWINDOW};
    HWND panel_ = window_.handle();
    std::string clip_;
    simcam::SimSettings sim_;
};

struct CameraMode {
    const char* formats;
    const char* described;
};

void PrintTo(const CameraMode& mode, std::ostream* out) { *out << mode.formats; }

class WebcamFormats : public Webcam, public ::testing::WithParamInterface<CameraMode> {};

// What the worker does: the preview at 300 ms, ChargeCapture(0) reading it back.
TEST_P(WebcamFormats, PreviewAndSlotZeroShowTheQuadrantsTheRightWayRound) {
    sim_.set("VORLAXIS_SIM_DEVICE", "/dev/video42").set("VORLAXIS_SIM_FORMATS", GetParam().formats);
    auto cam = std::make_unique<CWebCam>();
    cam->hWndParent = panel_;
    cam->hDCAffichage = GetDC(panel_);
    ::testing::internal::CaptureStdout();
    cam->Connect();
    EXPECT_NE(::testing::internal::GetCapturedStdout().find(GetParam().described),
              std::string::npos);
    cam->AfficheWebCam();
    std::string why = "nothing shown";
    const HWND capture = cam->hWndCapture;
    EXPECT_TRUE(pumpUntil([&] {
        return showsQuadrants([&](int x, int y) { return canvasAt(capture, x, y); }, why);
    })) << why;
    cam->ChargeCapture(0);
    const auto slot = [&](int x, int y) {
        const Pixel& p = cam->images[0].pixels[y][x];
        EXPECT_EQ(p.couleur, p.r + 256 * p.g + 65536 * p.b);
        return Rgb{p.r, p.g, p.b};
    };
    EXPECT_TRUE(showsQuadrants(slot, why)) << why;
    DestroyWindow(capture);
}

INSTANTIATE_TEST_SUITE_P(
    Camera, WebcamFormats,
    ::testing::Values(CameraMode{"YUYV=640x480", "Camera: camera /dev/video42 ("},
                      CameraMode{"MJPG=1280x720", "Camera: camera /dev/video42 (1280x720)"}),
    [](const auto& info) { return info.index == 0 ? "Yuyv640x480" : "Mjpeg1280x720"; });

TEST_F(Webcam, DriversCountOnlyNodesThatCaptureVideoAndAreListedWithTheirFormats) {
    sim_.set("VORLAXIS_SIM_DEVICE", "/dev/video42:/dev/video44")
        .set("VORLAXIS_SIM_META_DEVICE", "/dev/video41")
        .set("VORLAXIS_SIM_FORMATS", "YUYV=640x480,320x240 MJPG=1280x720");
    const HWND capture = createCapture();
    std::string out, err;
    EXPECT_NE(connect(capture, 0, out, err), 0) << err;
    EXPECT_NE(out.find("Camera: camera /dev/video42 ("), std::string::npos) << out;
    EXPECT_NE(connect(capture, 1, out, err), 0) << err;
    EXPECT_NE(out.find("Camera: camera /dev/video44 ("), std::string::npos) << out;
    EXPECT_EQ(connect(capture, 2, out, err), 0);
    EXPECT_NE(err.find("there is no camera 2: only 2 found"), std::string::npos) << err;

    char name[80], version[200];
    ASSERT_TRUE(capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version));
    EXPECT_STREQ(name, "Vorlaxis Sim Webcam");
    EXPECT_STREQ(version, "/dev/video42, driver uvcvideo, YUYV 640x480 320x240, MJPG 1280x720");
    ASSERT_TRUE(capGetDriverDescriptionA(1, name, sizeof name, version, 12));
    EXPECT_STREQ(version, "/dev/video4");  // cut to the buffer, terminated
    EXPECT_FALSE(capGetDriverDescriptionA(2, name, sizeof name, version, sizeof version));
}

TEST_F(Webcam, ACameraThatCannotBeUsedSaysWhatToDo) {
    const HWND capture = createCapture();
    sim_.set("VORLAXIS_SIM_DEVICE", "/dev/video42").set("VORLAXIS_SIM_BUSY", "1");
    EXPECT_NE(
        connectFailure(capture).find("camera /dev/video42 is in use by another program: close it"),
        std::string::npos);

    sim_.set("VORLAXIS_SIM_BUSY", "0").set("VORLAXIS_SIM_DENIED", "1");
    std::string err = connectFailure(capture);
    EXPECT_NE(err.find("/dev/video42: permission denied: add yourself to the video group"),
              std::string::npos)
        << err;
    char name[80], version[80];
    ASSERT_TRUE(capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version));
    EXPECT_STREQ(version, "/dev/video42: Permission denied");

    sim_.set("VORLAXIS_SIM_DENIED", "0").set("VORLAXIS_SIM_DEVICE", "/dev/video99");
    sim_.set("VORLAXIS_SIM_META_DEVICE", "/dev/video41");
    err = connectFailure(capture);
    EXPECT_NE(
        err.find("no camera found: /dev/video41 (Vorlaxis Sim Webcam) captures no video pictures"),
        std::string::npos)
        << err;
    sim_.set("VORLAXIS_CAMERA", "/dev/video41");
    err = connectFailure(capture);
    EXPECT_NE(
        err.find(
            "/dev/video41 (Vorlaxis Sim Webcam) does not capture video pictures: it is a camera's "
            "metadata node"),
        std::string::npos)
        << err;
}

TEST_F(Webcam, AnUnpluggedCameraLeavesTheLastPictureAndIsReportedOnce) {
    sim_.set("VORLAXIS_SIM_DEVICE", "/dev/video42").set("VORLAXIS_SIM_UNPLUG_AFTER", "3");
    const HWND capture = createCapture();
    std::string out, err;
    ASSERT_NE(connect(capture, 0, out, err), 0) << err;
    SendMessageA(capture, WM_CAP_SET_SCALE, 1, 0);
    SendMessageA(capture, WM_CAP_SET_PREVIEWRATE, 30, 0);
    SendMessageA(capture, WM_CAP_SET_PREVIEW, 1, 0);
    ::testing::internal::CaptureStderr();
    const std::string gone = "Camera /dev/video42 stopped delivering pictures (No such device)";
    bool reported = false;
    pumpUntil([&] {
        reported = ::testing::internal::GetCapturedStderr().find(gone) != std::string::npos;
        ::testing::internal::CaptureStderr();
        return reported;
    });
    // A fixed wait shows that nothing more is said: twenty more preview periods.
    for (int i = 0; i < 20; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        pump();
    }
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(reported);
    EXPECT_EQ(err, "");
    std::string why;
    EXPECT_TRUE(showsQuadrants([&](int x, int y) { return canvasAt(capture, x, y); }, why)) << why;
}

// The recognition reads the same signs whether the clip plays as a clip or through the camera.
TEST_F(Webcam, RecognitionThroughTheCameraMatchesTheClip) {
    const std::string script = testsupport::scratchPath("webcam", ".txt"),
                      hands = testsupport::scratchPath("webcam", ".y4m");
    std::ofstream(script) << "fps 15\n10 scissors 70,120 | paper 90,110\n";
    const std::string clipgen = std::string(VORLAXIS_BIN_DIR) + "/tools/clipgen";
    ASSERT_EQ(std::system((clipgen + " " + script + " " + hands + " 2>/dev/null").c_str()), 0);
    std::remove(script.c_str());
    sim_.set("VORLAXIS_SIM_DEVICE", "/dev/video42").set("VORLAXIS_SIM_CLIP", hands);

    const auto signs = [&](const char* formats, bool throughCamera) {
        sim_.set("VORLAXIS_SIM_FORMATS", formats);
        if (throughCamera)
            unsetenv("VORLAXIS_CAMERA");
        else
            setenv("VORLAXIS_CAMERA", hands.c_str(), 1);
        auto cam = std::make_unique<CWebCam>();
        cam->hWndParent = panel_;
        cam->hDCAffichage = GetDC(panel_);
        ::testing::internal::CaptureStdout();
        cam->Connect();
        ::testing::internal::GetCapturedStdout();
        cam->AfficheWebCam();
        EXPECT_TRUE(pumpUntil([&] { return handsShown(cam->hWndCapture); })) << formats;
        cam->ChargeCapture(0);
        cam->CalBiCouleur(0);
        cam->calculBarycentre(0);
        cam->calculVariance(0);
        cam->discriminateRPS(0);
        DestroyWindow(cam->hWndCapture);
        return std::make_pair(cam->rps1.load(), cam->rps2.load());
    };
    const auto fromClip = signs("", false);
    EXPECT_EQ(fromClip, std::make_pair(3, 2));  // scissors, paper
    EXPECT_EQ(signs("YUYV=640x480", true), fromClip);
    EXPECT_EQ(signs("MJPG=1280x720", true), fromClip);
    std::remove(hands.c_str());
}

}  // namespace
