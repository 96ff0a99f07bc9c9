// One recognition pass and one capture, against the floor of reading the frame store once;
// prints the pass's cost in floors at the end. Run with --benchmark_repetitions=N for medians.
#include <benchmark/benchmark.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

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
            const bool hand = (x > 40 && x < 100 && y > 60 && y < 180) ||
                              (x > 210 && x < 250 && y > 30 && y < 200);
            Pixel& p = cam.images[slot].pixels[y][x];
            p.r = static_cast<uint8_t>(hand ? 200 + noise(rng) : noise(rng));
            p.g = static_cast<uint8_t>(hand ? 160 + noise(rng) : noise(rng));
            p.b = static_cast<uint8_t>(hand ? 140 + noise(rng) : noise(rng));
            p.couleur = p.r + 256 * p.g + 65536 * p.b;
        }
    }
}

// The floor: every byte of slot 0 read once, nothing written, in the fastest loop found: SSE2
// byte sums (psadbw) into four independent accumulators, so that the adds do not wait on
// each other; a plain loop over 8-byte words on other processors.
#if defined(__SSE2__)
uint64_t sumOfRow(const Pixel* row) {
    const __m128i* p = reinterpret_cast<const __m128i*>(row);
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, b = zero, c = zero, d = zero;
    for (int i = 0; i < kFrameWidth / 2; i += 4) {
        a = _mm_add_epi64(a, _mm_sad_epu8(_mm_loadu_si128(p + i), zero));
        b = _mm_add_epi64(b, _mm_sad_epu8(_mm_loadu_si128(p + i + 1), zero));
        c = _mm_add_epi64(c, _mm_sad_epu8(_mm_loadu_si128(p + i + 2), zero));
        d = _mm_add_epi64(d, _mm_sad_epu8(_mm_loadu_si128(p + i + 3), zero));
    }
    const __m128i all = _mm_add_epi64(_mm_add_epi64(a, b), _mm_add_epi64(c, d));
    return static_cast<uint64_t>(_mm_cvtsi128_si64(all) +
                                 _mm_cvtsi128_si64(_mm_unpackhi_epi64(all, all)));
}
#else
uint64_t wordOf(const Pixel& p) {
    uint64_t word;
    std::memcpy(&word, &p, sizeof word);
    return word;
}

uint64_t sumOfRow(const Pixel* row) {
    uint64_t a = 0, b = 0, c = 0, d = 0;
    for (int x = 0; x < kFrameWidth; x += 4) {
        a += wordOf(row[x]);
        b += wordOf(row[x + 1]);
        c += wordOf(row[x + 2]);
        d += wordOf(row[x + 3]);
    }
    return a + b + c + d;
}
#endif

void BM_ReadStoreOnce(benchmark::State& state) {
    auto cam = std::make_unique<CWebCam>();
    paintScene(*cam, 0);
    for (auto _ : state) {
        uint64_t sum = 0;
        for (int y = 0; y < kFrameHeight; ++y) {
            sum += sumOfRow(cam->images[0].pixels[y]);
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
    HWND hWnd = CreateWindowExA(0, "bench-preview", "preview", WS_OVERLAPPED, 0, 0, kFrameWidth,
                                kFrameHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
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

// The usual table, then what a recognition pass costs in floors: from the medians when the
// runs are repeated (--benchmark_repetitions=N), else from the single runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            Times& t = times_[run.run_name.function_name];
            if (median || (run.run_type == Run::RT_Iteration && !t.median)) {
                t = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(), median};
            }
        }
    }

    void printRatio() const {
        const auto floor = times_.find("BM_ReadStoreOnce");
        const auto pass = times_.find("BM_RecognitionPass");
        if (floor == times_.end() || pass == times_.end() || floor->second.cpu <= 0 ||
            floor->second.real <= 0) {
            return;
        }
        std::printf("recognition pass / floor (%s): %.2fx real time, %.2fx CPU time\n",
                    floor->second.median && pass->second.median ? "medians" : "single runs",
                    pass->second.real / floor->second.real, pass->second.cpu / floor->second.cpu);
    }

private:
    struct Times {
        double real = 0;
        double cpu = 0;
        bool median = false;
    };
    std::map<std::string, Times> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio();
    benchmark::Shutdown();
    return 0;
}
