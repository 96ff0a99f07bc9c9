// The Video for Windows capture window: a child window whose canvas shows the preview of the
// capture driver it is connected to. The layer forwards capture messages here and calls the
// preview pump from the main thread's PeekMessageA, which refreshes each preview when its
// period has passed, as the timer of a real capture window would.
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

#include "platform/capture/camera_source.h"
#include "platform/driver.h"
#include "platform/win32.h"

namespace {

constexpr const char* kCaptureClass = "vorlaxis-capture";
// Windows' capture window starts at 15 previews a second until told otherwise.
constexpr double kDefaultPeriod = 1.0 / 15.0;

struct Preview {
    camera::CameraSource source;
    camera::RgbFrame picture;
    double connectedAt = 0.0;
    double period = kDefaultPeriod;
    double nextRefresh = 0.0;
    bool scale = false;
    bool on = false;
    bool stale = true;  // the canvas does not show `picture` as currently set up
};

std::mutex g_mutex;
std::map<HWND, std::unique_ptr<Preview>> g_previews;
camera::CaptureClock g_clock;

double steadySeconds() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double now() { return g_clock ? g_clock() : steadySeconds(); }

Preview* find(HWND hWnd) {
    auto it = g_previews.find(hWnd);
    return it == g_previews.end() ? nullptr : it->second.get();
}

void draw(HWND hWnd, Preview& preview) {
    if (preview.picture.empty()) return;
    vorlaxis::platform::CanvasLock canvas(hWnd);
    if (!canvas.valid()) return;
    if (preview.scale)
        camera::scaleInto(preview.picture, canvas.row(0), canvas.width(), canvas.height(),
                          canvas.width());
    else
        camera::copyInto(preview.picture, canvas.row(0), canvas.width(), canvas.height(),
                         canvas.width());
    canvas.markChanged();
    preview.stale = false;
}

// A scaled preview only ever shows the picture at the window's size: ask the source for that.
void fitToWindow(HWND hWnd, Preview& preview) {
    vorlaxis::platform::CanvasLock canvas(hWnd);
    const bool fit = preview.scale && canvas.valid();
    preview.picture.fitWidth = fit ? canvas.width() : 0;
    preview.picture.fitHeight = fit ? canvas.height() : 0;
}

void refresh(HWND hWnd, Preview& preview, double time) {
    if (!preview.on || !preview.source.connected() || time < preview.nextRefresh) return;
    preview.nextRefresh = time + preview.period;
    fitToWindow(hWnd, preview);
    if (preview.source.pictureAt(time - preview.connectedAt, preview.picture)) preview.stale = true;
    if (preview.stale) draw(hWnd, preview);
}

void pumpPreviews() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_previews.empty()) return;
    const double time = now();
    for (auto& [hWnd, preview] : g_previews) refresh(hWnd, *preview, time);
}

LRESULT connectDriver(Preview& preview, WPARAM driver) {
    std::string error;
    const int number = static_cast<int>(std::min<WPARAM>(driver, INT_MAX));
    if (!preview.source.connect(std::getenv("VORLAXIS_CAMERA"), number, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return FALSE;
    }
    std::printf("Camera: %s\n", preview.source.describe().c_str());
    std::fflush(stdout);
    preview.connectedAt = now();
    preview.nextRefresh = preview.connectedAt;
    preview.picture = camera::RgbFrame{};
    return TRUE;
}

LRESULT captureMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Preview* preview = find(hWnd);
    if (!preview) return FALSE;
    switch (msg) {
    case WM_CAP_DRIVER_CONNECT: return connectDriver(*preview, wParam);
    case WM_CAP_DRIVER_DISCONNECT: preview->source = camera::CameraSource{}; return TRUE;
    case WM_CAP_SET_SCALE:
        preview->scale = wParam != 0;
        preview->stale = true;
        preview->nextRefresh = now();
        return TRUE;
    case WM_CAP_SET_PREVIEWRATE:
        preview->period = (wParam > 0 ? static_cast<double>(wParam) : 1.0) / 1000.0;
        return TRUE;
    case WM_CAP_SET_PREVIEW:
        if (!preview->source.connected()) return FALSE;
        preview->on = wParam != 0;
        preview->nextRefresh = now();
        return TRUE;
    default: return FALSE;
    }
}

LRESULT CALLBACK captureWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_previews.erase(hWnd);
        return 0;
    }
    if (msg == WM_PAINT) {
        std::lock_guard<std::mutex> lock(g_mutex);
        Preview* preview = find(hWnd);
        if (preview && !preview->picture.empty()) {
            draw(hWnd, *preview);
            return 0;
        }
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

void installDriver() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = captureWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kCaptureClass;
    RegisterClassA(&wc);
    vorlaxis::platform::setCaptureMessageHook(captureMessage);
    vorlaxis::platform::setIdlePump(pumpPreviews);
}

}  // namespace

namespace camera {

void setCaptureClock(CaptureClock clock) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_clock = std::move(clock);
}

}  // namespace camera

HWND WINAPI capCreateCaptureWindowA(LPCSTR windowName, DWORD style, int x, int y, int width,
                                    int height, HWND parent, int id) {
    static std::once_flag installed;
    std::call_once(installed, installDriver);
    HWND hWnd = CreateWindowExA(0, kCaptureClass, windowName, style, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!hWnd) return nullptr;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_previews[hWnd] = std::make_unique<Preview>();
    return hWnd;
}
