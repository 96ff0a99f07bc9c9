// The core's own objects: what sits behind each Win32 handle.
#pragma once

#include "platform/core/video.h"
#include "platform/driver.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vorlaxis::platform {

// Pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
inline uint32_t pixelFromColor(COLORREF c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline COLORREF colorFromPixel(uint32_t p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

struct Canvas {
    std::mutex mutex;
    int width = 0;
    int height = 0;
    bool bottomUp = false;  // DIB sections of positive height keep their rows bottom-up
    std::vector<uint32_t> storage;
    // Set for window canvases: the "needs presenting" flag of the top-level window, shared by
    // the whole window tree.
    std::shared_ptr<std::atomic<bool>> dirty;

    uint32_t* row(int y) {
        if (y < 0 || y >= height) return nullptr;
        return storage.data() + static_cast<size_t>(bottomUp ? height - 1 - y : y) * width;
    }
    void markChanged() {
        if (dirty) dirty->store(true, std::memory_order_relaxed);
    }
};

// A canvas of width x height filled with `fill`; null for sizes that are negative or absurd.
std::shared_ptr<Canvas> makeCanvas(int width, int height, bool bottomUp, uint32_t fill);
// Fills the rectangle [left, right) x [top, bottom), clipped; the caller holds the lock.
void fillRect(Canvas& canvas, int left, int top, int right, int bottom, uint32_t pixel);

// ---- Handles -----------------------------------------------------------------------------
// Handles are numbers never reused, so a stale or foreign handle is refused, not followed.
uintptr_t newHandleValue();

template <typename T>
class HandleTable {
public:
    uintptr_t add(std::shared_ptr<T> object) {
        uintptr_t id = newHandleValue();
        std::lock_guard<std::mutex> guard(mutex_);
        objects_[id] = std::move(object);
        return id;
    }
    void addWithId(uintptr_t id, std::shared_ptr<T> object) {
        std::lock_guard<std::mutex> guard(mutex_);
        objects_[id] = std::move(object);
    }
    std::shared_ptr<T> find(const void* handle) {
        std::lock_guard<std::mutex> guard(mutex_);
        auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
        return it == objects_.end() ? nullptr : it->second;
    }
    std::shared_ptr<T> remove(const void* handle) {
        std::lock_guard<std::mutex> guard(mutex_);
        auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
        if (it == objects_.end()) return nullptr;
        auto object = std::move(it->second);
        objects_.erase(it);
        return object;
    }
    std::vector<std::pair<uintptr_t, std::shared_ptr<T>>> snapshot() {
        std::lock_guard<std::mutex> guard(mutex_);
        return {objects_.begin(), objects_.end()};
    }

private:
    std::mutex mutex_;
    std::map<uintptr_t, std::shared_ptr<T>> objects_;
};

// ---- Windows -----------------------------------------------------------------------------
struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
};

struct Window {
    HWND handle = nullptr;
    WindowClass windowClass;
    std::string caption;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    std::thread::id owner;
    std::shared_ptr<Canvas> canvas;
    std::atomic<bool> visible{false};
    std::mutex childrenMutex;
    std::vector<HWND> children;
};

HandleTable<Window>& windows();
std::shared_ptr<Window> findWindow(HWND hWnd);
// Children of a window, in creation order.
std::vector<std::shared_ptr<Window>> childrenOf(Window& window);
// The background colour a class brush paints, or false for none (also small system-colour
// values such as COLOR_WINDOW + 1).
bool brushPixel(HBRUSH brush, uint32_t* pixel);

// ---- Messages ----------------------------------------------------------------------------
// Posts to the queue of `thread`.
void postToThread(std::thread::id thread, const MSG& msg);

// ---- Display (through the video driver) -----------------------------------------------------
// Main thread only: the driver's pump (see VideoDriver::pump).
void pumpDisplay();
// Lets the driver catch up with the windows at once when called on the main thread; the main
// thread's next PeekMessageA does it otherwise.
void syncDisplay();
void requestFocus(HWND hWnd);

// ---- Errors --------------------------------------------------------------------------------
// GetLastError's code when the display cannot be opened (bit 29: a code of our own, not the
// system's); FormatMessageA gives the driver's reason for it.
constexpr DWORD kErrorNoDisplay = 0x20000001;
// Sets the calling thread's last error to kErrorNoDisplay unless the display is open.
bool requireDisplay();

// ---- GDI objects -------------------------------------------------------------------------
struct FontFace;

struct GdiObject {
    enum class Kind { Brush, Pen, Font, Bitmap } kind = Kind::Brush;
    bool stock = false;
    bool hollow = false;  // brush or pen that draws nothing
    uint32_t pixel = 0;   // brush or pen colour
    std::shared_ptr<FontFace> font;
    std::shared_ptr<Canvas> canvas;  // bitmap pixels
};

HandleTable<GdiObject>& gdiObjects();

struct DeviceContext {
    enum class Kind { Window, Memory, Screen } kind = Kind::Window;
    std::mutex mutex;
    HWND window = nullptr;
    std::shared_ptr<Canvas> canvas;  // null for the screen
    std::shared_ptr<GdiObject> brush, pen, font, bitmap;
    HGDIOBJ brushHandle = nullptr, penHandle = nullptr, fontHandle = nullptr,
            bitmapHandle = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
};

HandleTable<DeviceContext>& deviceContexts();
std::shared_ptr<DeviceContext> findDC(HDC hdc);
// The canvas a DC draws into (null for the screen or an invalid DC).
std::shared_ptr<Canvas> canvasOf(HDC hdc);

// ---- Text --------------------------------------------------------------------------------
std::shared_ptr<FontFace> loadFont(const LOGFONTA& lf);
std::shared_ptr<FontFace> defaultFont();
// Draws Latin-1 text with the top left of its cell at (x, y); the canvas is locked by the
// caller. Returns false when the font cannot render.
bool drawText(Canvas& canvas, FontFace& font, int x, int y, const char* text, int length,
              uint32_t color, const uint32_t* background);

}  // namespace vorlaxis::platform
