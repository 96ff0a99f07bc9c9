// Windows without an X server: the null video driver gives every window a canvas in memory,
// so drawing and capture tests run anywhere and read back exactly what was drawn.
#pragma once

#include "platform/driver.h"

namespace testsupport {

// Registers a window class by name; registering it again (the next test) is harmless.
inline void registerWindowClass(const char* name, WNDPROC proc = DefWindowProcA,
                                HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

// A top-level window on the null driver, destroyed when the object goes. Its class is
// registered plain unless the test registered its own under that name first. Check handle()
// against null before drawing.
class HeadlessWindow {
public:
    HeadlessWindow(const char* className, int width, int height, DWORD style = 0,
                   HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)) {
        vorlaxis::platform::useVideoDriver("null");
        registerWindowClass(className, DefWindowProcA, background);
        hwnd_ = CreateWindowExA(0, className, className, style, 0, 0, width, height, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~HeadlessWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    HWND handle() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

}  // namespace testsupport
