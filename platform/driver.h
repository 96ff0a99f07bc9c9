// What the platform offers beyond the Win32 calls of platform/win32.h, the same whichever
// driver runs: the choice of video driver, the canvases behind windows, and the hooks through
// which the capture driver joins the message loop. Tests and benchmarks include this header;
// no code outside platform/ includes anything from a driver's folder.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace vorlaxis::platform {

// ---- Video drivers -------------------------------------------------------------------------
// "x11" shows top-level windows on the X display named by DISPLAY and turns its events into
// messages. "null" has no display at all: windows are canvases with their queues, children and
// capture, nothing is presented and no input arrives; tests and benchmarks use it.
// The driver is the one named by VORLAXIS_VIDEODRIVER ("x11", "null" or the null driver's
// former name "headless"; unset means x11, any other name is reported on stderr and means x11)
// unless useVideoDriver picked one first. Pick it before making windows: windows made under
// one driver are not shown by another.
// Returns false, changing nothing, for a name that is no driver.
bool useVideoDriver(const std::string& name);
const char* videoDriverName();

// Connects the driver to its display, once (X11 calls XInitThreads first). On failure returns
// false and sets *why to a sentence naming the display and the problem; the null driver always
// succeeds.
bool openVideo(std::string* why);

// ---- Canvases ----------------------------------------------------------------------------
// Every window owns a canvas of width x height pixels, each a uint32_t 0x00RRGGBB (byte order
// blue, green, red, unused on this little-endian layer), rows top-down, stride = width.
// A child window (CreateWindowExA with WS_CHILD and a parent, or capCreateCaptureWindowA) has
// its own canvas, drawn over its parent's at its position when the top-level window is
// presented; GetDC(child) draws into the child's canvas; destroying a parent destroys its
// children (each gets WM_DESTROY). A capture window is such a child of a class the capture
// driver registers with RegisterClassA.
struct Canvas;

// Holds a window's (or a device context's current) canvas locked for as long as it lives.
// The canvas stays valid even if the window is destroyed meanwhile. Call markChanged() after
// writing so the next PeekMessageA on the main thread presents it.
class CanvasLock {
public:
    explicit CanvasLock(HWND hWnd);
    explicit CanvasLock(HDC hdc);
    ~CanvasLock();
    CanvasLock(const CanvasLock&) = delete;
    CanvasLock& operator=(const CanvasLock&) = delete;

    bool valid() const { return canvas_ != nullptr; }
    // The storage as it lies in memory: top-down for windows, so pixels()[y * width + x];
    // null when !valid().
    uint32_t* pixels() const;
    int width() const;  // 0 when !valid()
    int height() const;
    // Row y counted from the top, whatever the canvas's row order in memory (DIB sections
    // with a positive height are bottom-up); null when out of range.
    uint32_t* row(int y) const;
    void markChanged();

private:
    std::shared_ptr<Canvas> canvas_;
    std::unique_lock<std::mutex> lock_;
};

// ---- Capture hooks -------------------------------------------------------------------------
// SendMessageA forwards every message in WM_CAP_START..WM_CAP_END to this hook (whatever the
// window); without a hook such messages return 0. SendMessageA calls a copy taken under a
// lock, so the hook may be replaced while other threads send.
using CaptureMessageHook = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
void setCaptureMessageHook(CaptureMessageHook hook);

// Called by PeekMessageA on the main thread at every call, before presenting (whatever the
// driver). Used to refresh capture previews at their rate. Pass nullptr to remove.
using IdlePump = std::function<void()>;
void setIdlePump(IdlePump pump);

// True on the thread that runs main(): the only one that talks to the display.
bool isMainThread();

}  // namespace vorlaxis::platform

namespace camera {

// The clock that paces capture previews and clips: seconds since an arbitrary start, steady.
// Tests set their own; null restores the real clock.
using CaptureClock = std::function<double()>;
void setCaptureClock(CaptureClock clock);

}  // namespace camera
