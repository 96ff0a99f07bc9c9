// One recognition pass and one capture, against the floor of reading the frame store once.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "platform/driver.h"
#include "platform/win32.h"
#include "vision/WebCam.h"

namespace {

// Dark, slightly noisy background with two bright hands, like a camera picture.
void paintScene(CWebCam& cam, int slot) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> noise(0, 40);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const bool hand = (x > 40 && x < 100 && y > 60 && y < 180) || (x > 210 && x < 250 && y > 30 && y < 200);
            Pixel& p = cam.images[slot].pixels[y][x];
            p.r = static_cast<uint8_t>(hand ? 200 + noise(rng) : noise(rng));
            p.g = static_cast<uint8_t>(hand ? 160 + noise(rng) : noise(rng));
            p.b = static_cast<uint8_t>(hand ? 140 + noise(rng) : noise(rng));
            p.couleur = p.r + 256 * p.g + 65536 * p.b;
        }
    }
}

// The floor: every pixel of slot 0 read once, nothing written; summing couleur is the
// fastest plain loop over the rows measured here (faster than summing r + g + b).
void BM_ReadStoreOnce(benchmark::State& state) {
    auto cam = std::make_unique<CWebCam>();
    paintScene(*cam, 0);
    for (auto _ : state) {
        uint32_t sum = 0;
        for (int y = 0; y < kFrameHeight; ++y) {
            const Pixel* row = cam->images[0].pixels[y];
            for (int x = 0; x < kFrameWidth; ++x) {
                sum += static_cast<uint32_t>(row[x].couleur);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadStoreOnce);

// CalBiCouleur through discriminateRPS on slot 0; the camera picture is put back (untimed)
// before every pass so that each one works on a fresh frame, not on last pass's mask.
void BM_RecognitionPass(benchmark::State& state) {
    auto cam = std::make_unique<CWebCam>();
    paintScene(*cam, 1);
    for (auto _ : state) {
        state.PauseTiming();
        cam->CopieImage(1, 0);
        state.ResumeTiming();
        cam->CalBiCouleur(0);
        cam->calculBarycentre(0);
        cam->calculVariance(0);
        cam->discriminateRPS(0);
        benchmark::DoNotOptimize(cam->rps1.load(std::memory_order_relaxed));
    }
}
BENCHMARK(BM_RecognitionPass);

LRESULT CALLBACK plainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcA(h, m, w, l);
}

// A headless window standing in for the preview, holding a 320 x 240 picture.
HWND makePreview() {
    vorlaxis::platform::useVideoDriver("null");
    WNDCLASSA wc{};
    wc.lpfnWndProc = plainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "bench-preview";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowExA(0, "bench-preview", "preview", WS_OVERLAPPED, 0, 0, kFrameWidth, kFrameHeight,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    vorlaxis::platform::CanvasLock canvas(hWnd);
    std::mt19937 rng(3);
    for (int y = 0; y < kFrameHeight; ++y) {
        uint32_t* row = canvas.row(y);
        for (int x = 0; x < kFrameWidth; ++x) {
            row[x] = rng() & 0xFFFFFF;
        }
    }
    return hWnd;
}

void BM_ChargeCapture(benchmark::State& state) {
    static HWND preview = makePreview();
    auto cam = std::make_unique<CWebCam>();
    cam->hDCCapture = GetDC(preview);
    for (auto _ : state) {
        cam->ChargeCapture(0);
        benchmark::DoNotOptimize(cam->images[0].pixels[0][0].couleur);
    }
    ReleaseDC(preview, cam->hDCCapture);
}
BENCHMARK(BM_ChargeCapture);

}  // namespace

BENCHMARK_MAIN();
