// What the Linux platform layer offers its own parts (the capture driver) and its tests,
// beyond the Win32 calls of platform/win32.h.
//
// Tests that need no X server call vorlaxis::platform::setHeadless(true) before making any
// window (or run with VORLAXIS_VIDEODRIVER=headless): windows then exist only in memory.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace vorlaxis::platform {

// ---- Headless switch -------------------------------------------------------------------
// Headless windows have canvases, queues, children and capture like real ones but no X
// window; nothing is presented and no X event arrives. Switch before the first window exists.
void setHeadless(bool on);
bool isHeadless();

// Opens the X connection (once, calling XInitThreads first) unless headless. On failure
// returns false and sets *why to a sentence naming the display and the problem.
bool openDisplay(std::string* why);

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
    int width() const;         // 0 when !valid()
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

// Called by PeekMessageA on the main thread at every call, before presenting (also headless).
// Used to refresh capture previews at their rate. Pass nullptr to remove.
using IdlePump = std::function<void()>;
void setIdlePump(IdlePump pump);

// True on the thread that runs main(): the only one that talks to the X server.
bool isMainThread();

}  // namespace vorlaxis::platform
