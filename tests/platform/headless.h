// A headless window with its device context, for drawing tests without an X server.
#pragma once

#include <gtest/gtest.h>

#include "platform/driver.h"

namespace testing_platform {

inline void registerPlainClass(const char* name, WNDPROC proc = DefWindowProcA,
                               HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);  // already there after the first test: harmless
}

class HeadlessCanvas : public ::testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 100;

    void SetUp() override {
        vorlaxis::platform::useVideoDriver("null");
        registerPlainClass("canvas-test");
        hwnd = CreateWindowExA(0, "canvas-test", "canvas", 0, 0, 0, kWidth, kHeight, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
        hdc = GetDC(hwnd);
        ASSERT_NE(hdc, nullptr);
    }
    void TearDown() override {
        ReleaseDC(hwnd, hdc);
        DestroyWindow(hwnd);
    }
    // The canvas pixel (0x00RRGGBB) at (x, y).
    uint32_t at(int x, int y) {
        vorlaxis::platform::CanvasLock lock(hwnd);
        return lock.row(y)[x];
    }
    void fill(uint32_t pixel) {
        vorlaxis::platform::CanvasLock lock(hwnd);
        std::fill(lock.pixels(), lock.pixels() + kWidth * kHeight, pixel);
    }

    HWND hwnd = nullptr;
    HDC hdc = nullptr;
};

}  // namespace testing_platform
