// The game's turn rate against the size of the camera picture. A turn here is what the main
// thread does besides the preview: about 25 ms of drawing (spun, as a busy renderer would)
// and the 3 ms of waits of the main loop; the preview is refreshed inside PeekMessageA, as in
// the game, from a clip played in real time at the game's preview rate of 300 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <unistd.h>

#include "platform/driver.h"
#include "platform/win32.h"

namespace {

constexpr auto kTurnWork = std::chrono::milliseconds(25);
constexpr auto kTurnWaits = std::chrono::milliseconds(3);

// Four frames of a side x side 4:2:0 clip at 10 frames a second, each a different grey.
std::string writeClip(int width, int height) {
    const std::string path = "/tmp/vorlaxis-bench-" + std::to_string(::getpid()) + "-" +
                             std::to_string(width) + "x" + std::to_string(height) + ".y4m";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return "";
    std::fprintf(f, "YUV4MPEG2 W%d H%d F10:1 Ip C420jpeg\n", width, height);
    const size_t luma = size_t(width) * height;
    const size_t chroma = size_t((width + 1) / 2) * ((height + 1) / 2);
    for (int k = 0; k < 4; ++k) {
        std::fputs("FRAME\n", f);
        const std::string y(luma, char(40 + 40 * k)), uv(2 * chroma, char(128));
        std::fwrite(y.data(), 1, y.size(), f);
        std::fwrite(uv.data(), 1, uv.size(), f);
    }
    std::fclose(f);
    return path;
}

LRESULT CALLBACK panelProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

HWND makePanel() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = panelProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "bench-panel";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "bench-panel", "panel", WS_OVERLAPPEDWINDOW, 0, 0, 1200, 272, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

void spin(std::chrono::steady_clock::duration length) {
    const auto end = std::chrono::steady_clock::now() + length;
    while (std::chrono::steady_clock::now() < end) {
    }
}

// Arguments: clip width, clip height, whether the preview is scaled to its window (as the game
// asks) or shown at its own size (every pixel converted: what scaling used to cost).
void BM_TurnsWithClip(benchmark::State& state) {
    vorlaxis::platform::useVideoDriver("null");
    const std::string clip = writeClip(int(state.range(0)), int(state.range(1)));
    if (clip.empty()) {
        state.SkipWithError("cannot write the clip");
        return;
    }
    setenv("VORLAXIS_CAMERA", clip.c_str(), 1);
    HWND panel = makePanel();
    HWND capture =
        capCreateCaptureWindowA("handle", WS_CHILD | WS_VISIBLE, 440, 0, 320, 240, panel, 0);
    if (!SendMessageA(capture, WM_CAP_DRIVER_CONNECT, 0, 0)) {
        state.SkipWithError("the clip does not connect");
    } else {
        SendMessageA(capture, WM_CAP_SET_SCALE, state.range(2), 0);
        SendMessageA(capture, WM_CAP_SET_PREVIEWRATE, 300, 0);
        SendMessageA(capture, WM_CAP_SET_PREVIEW, 1, 0);
        for (auto _ : state) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            spin(kTurnWork);
            std::this_thread::sleep_for(kTurnWaits);
        }
        state.counters["turns_per_s"] =
            benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    }
    DestroyWindow(panel);
    std::remove(clip.c_str());
}
BENCHMARK(BM_TurnsWithClip)
    ->Args({320, 240, 1})
    ->Args({4096, 4096, 1})
    ->Args({4096, 4096, 0})
    ->UseRealTime()
    ->MinTime(10.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
