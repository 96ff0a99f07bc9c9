// A camera picture's way into slot 0, as the game takes it from a webcam: libv4lconvert's
// conversion to RGB24 (what libv4l2 does on every dequeue), the copy out of the buffer, the
// preview's scaling into its 320 x 240 window and ChargeCapture; against reading slot 0 once.
// libv4lconvert needs a device to describe itself, so the program restarts itself with the
// simulated webcam (tests/v4l2sim) preloaded.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <libv4lconvert.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/capture/camera_frame.h"
#include "platform/driver.h"
#include "platform/win32.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/y4m_writer.h"
#include "tests/v4l2sim/sim_clip.h"
#include "tests/webcam/sim_webcam.h"
#include "vision/WebCam.h"

namespace {

HWND makePreview() {
    vorlaxis::platform::useVideoDriver("null");
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "bench-webcam-preview";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "bench-webcam-preview", "preview", WS_OVERLAPPED, 0, 0, kFrameWidth,
                           kFrameHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// A camera picture of the given size: the quadrant clip, as the simulated camera encodes it.
std::vector<uint8_t> cameraPicture(uint32_t fourcc, int width, int height) {
    const std::string clip = testsupport::scratchPath("bench-webcam", ".y4m");
    testsupport::writeQuadrantClip(clip, width, height, 30, 1);
    v4l2sim::SimClip sim;
    std::string error;
    std::vector<uint8_t> bytes;
    if (sim.load(clip, error)) bytes = sim.encoded(0, fourcc, width, height);
    std::remove(clip.c_str());
    return bytes;
}

// Converts like libv4l2 after asking for RGB24 at 320 x 240, copies the result out of the
// buffer, scales it into the preview and reads the preview back into slot 0.
void frameIntoSlot(benchmark::State& state, uint32_t fourcc, int width, int height) {
    simcam::SimSettings sim;
    sim.set("VORLAXIS_SIM_DEVICE", "/dev/video42")
        .set("VORLAXIS_SIM_FORMATS", std::string(fourcc == V4L2_PIX_FMT_MJPEG ? "MJPG=" : "YUYV=") +
                                         std::to_string(width) + "x" + std::to_string(height));
    const int fd = ::open("/dev/video42", O_RDWR | O_NONBLOCK);
    v4lconvert_data* convert = fd >= 0 ? v4lconvert_create(fd) : nullptr;
    if (!convert) {
        state.SkipWithError("the simulated webcam is not loaded");
        return;
    }
    v4l2_format dest{}, src{};
    dest.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    dest.fmt.pix.width = 320;
    dest.fmt.pix.height = 240;
    dest.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
    v4lconvert_try_format(convert, &dest, &src);
    const std::vector<uint8_t> picture = cameraPicture(fourcc, width, height);
    std::vector<uint8_t> converted(dest.fmt.pix.sizeimage);
    static HWND preview = makePreview();
    auto cam = std::make_unique<CWebCam>();
    cam->hDCCapture = GetDC(preview);
    camera::RgbFrame frame;
    for (auto _ : state) {
        const int n = v4lconvert_convert(convert, &src, &dest, const_cast<uint8_t*>(picture.data()),
                                         static_cast<int>(picture.size()), converted.data(),
                                         static_cast<int>(converted.size()));
        if (n <= 0) {
            state.SkipWithError(v4lconvert_get_error_message(convert));
            break;
        }
        frame.resize(static_cast<int>(dest.fmt.pix.width), static_cast<int>(dest.fmt.pix.height));
        std::copy(converted.begin(), converted.begin() + static_cast<long>(frame.rgb.size()),
                  frame.rgb.begin());
        {
            vorlaxis::platform::CanvasLock canvas(preview);
            camera::scaleInto(frame, canvas.row(0), canvas.width(), canvas.height(),
                              canvas.width());
        }
        cam->ChargeCapture(0);
        benchmark::DoNotOptimize(cam->images[0].pixels[0][0].couleur);
    }
    state.SetLabel(std::to_string(width) + "x" + std::to_string(height) + " -> RGB24 " +
                   std::to_string(dest.fmt.pix.width) + "x" + std::to_string(dest.fmt.pix.height));
    ReleaseDC(preview, cam->hDCCapture);
    v4lconvert_destroy(convert);
    ::close(fd);
}

void BM_Yuyv640x480IntoSlot0(benchmark::State& state) {
    frameIntoSlot(state, V4L2_PIX_FMT_YUYV, 640, 480);
}
BENCHMARK(BM_Yuyv640x480IntoSlot0);

void BM_Mjpeg640x480IntoSlot0(benchmark::State& state) {
    frameIntoSlot(state, V4L2_PIX_FMT_MJPEG, 640, 480);
}
BENCHMARK(BM_Mjpeg640x480IntoSlot0);

void BM_Mjpeg1280x720IntoSlot0(benchmark::State& state) {
    frameIntoSlot(state, V4L2_PIX_FMT_MJPEG, 1280, 720);
}
BENCHMARK(BM_Mjpeg1280x720IntoSlot0);

// The floor: every pixel of slot 0 read once.
void BM_ReadSlot0Once(benchmark::State& state) {
    auto cam = std::make_unique<CWebCam>();
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            cam->images[0].pixels[y][x] = Pixel{1, 2, 3, 0x030201};
    for (auto _ : state) {
        uint32_t sum = 0;
        for (int y = 0; y < kFrameHeight; ++y) {
            const Pixel* row = cam->images[0].pixels[y];
            for (int x = 0; x < kFrameWidth; ++x) sum += static_cast<uint32_t>(row[x].couleur);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadSlot0Once);

}  // namespace

int main(int argc, char** argv) {
    if (!simcam::ensurePreloaded(argv)) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
