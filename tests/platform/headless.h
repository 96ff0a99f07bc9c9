// A headless window with its device context, for drawing tests without an X server.
#pragma once

#include <gtest/gtest.h>

#include "platform/driver.h"
#include "tests/support/headless_window.h"

namespace testing_platform {

class HeadlessCanvas : public ::testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 100;

    void SetUp() override {
        ASSERT_NE(hwnd, nullptr);
        hdc = GetDC(hwnd);
        ASSERT_NE(hdc, nullptr);
    }
    void TearDown() override { ReleaseDC(hwnd, hdc); }
    // The canvas pixel (0x00RRGGBB) at (x, y).
    uint32_t at(int x, int y) {
        vorlaxis::platform::CanvasLock lock(hwnd);
        return lock.row(y)[x];
    }
    void fill(uint32_t pixel) {
        vorlaxis::platform::CanvasLock lock(hwnd);
        std::fill(lock.pixels(), lock.pixels() + kWidth * kHeight, pixel);
    }

    testsupport::HeadlessWindow window{"canvas-test", kWidth, kHeight};
    HWND hwnd = window.handle();
    HDC hdc = nullptr;
};

}  // namespace testing_platform
