// The control panel made headless, with the worker's drawing tools, and a second canvas of
// the same size on which tests draw what they expect to see.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/init.h"
#include "app/main.h"
#include "platform/driver.h"
#include "vision/panel_layout.h"

namespace testing_app {

class PanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        vorlaxis::platform::useVideoDriver("null");
        if (!g_hWnd) {
            g_hWnd = CreationFenetre(GetModuleHandleA(nullptr));
            g_hDC = GetDC(g_hWnd);
            tools = preparePanelDC();
        }
        if (!expected) {
            expected = CreateWindowExA(0, "webcam", "expected", 0, 0, 0, panel::kClientWidth,
                                       panel::kClientHeight, nullptr, nullptr, nullptr, nullptr);
            expectedDC = GetDC(expected);
            SelectObject(expectedDC, tools.font);
            SelectObject(expectedDC, tools.brush);
            SetTextColor(expectedDC, RGB(22, 199, 35));
            SetBkMode(expectedDC, TRANSPARENT);
        }
    }

    void SetUp() override {
        ASSERT_NE(g_hWnd, nullptr);
        ASSERT_NE(tools.font, nullptr);
        clear(g_hWnd);
        clear(expected);
    }

    static void clear(HWND hWnd) {
        vorlaxis::platform::CanvasLock lock(hWnd);
        for (int y = 0; y < lock.height(); ++y)
            std::fill(lock.row(y), lock.row(y) + lock.width(), 0xFFFFFFu);
    }

    void expectBox(int left, int top, int right, int bottom) {
        Rectangle(expectedDC, left, top, right, bottom);
    }
    void expectText(int x, int y, const std::string& text) {
        TextOutA(expectedDC, x, y, text.c_str(), static_cast<int>(text.size()));
    }

    // Pixels of the panel that differ from the expected canvas within the given block.
    static int differences(int left, int top, int right, int bottom) {
        vorlaxis::platform::CanvasLock panel(g_hWnd);
        vorlaxis::platform::CanvasLock want(expected);
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) count += panel.row(y)[x] != want.row(y)[x];
        return count;
    }
    // Pixels of the panel block in the text colour (full coverage).
    static int inked(int left, int top, int right, int bottom) {
        vorlaxis::platform::CanvasLock panel(g_hWnd);
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) count += panel.row(y)[x] == 0x16C723u;
        return count;
    }

    static inline PanelTools tools{};
    static inline HWND expected = nullptr;
    static inline HDC expectedDC = nullptr;
};

}  // namespace testing_app
