// The X side, seen from a second connection as any other client would: the window's name,
// class and geometry, its presented pixels (children included), and X input turned into
// messages. Needs an X server (run under xvfb-run); skipped without one.
#include "tests/support/headless_window.h"
#include "tests/support/wait.h"

// After GoogleTest: Xlib's macros (None, Bool, ...) would break its headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono;
using testsupport::registerWindowClass;

std::vector<MSG>& posted() {
    static std::vector<MSG> messages;
    return messages;
}

LRESULT CALLBACK keepingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE || msg == WM_KEYDOWN) return 0;  // kept by the pump below instead
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// Pumps the layer until `done` holds or the test's patience runs out.
bool pumpUntil(const std::function<bool()>& done) {
    return testwait::waitUntil(
        [&] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                posted().push_back(msg);
                DispatchMessageA(&msg);
            }
            return done();
        },
        testwait::kPatienceSeconds, milliseconds(10));
}

Window findByName(Display* dpy, Window under, const std::string& name) {
    char* title = nullptr;
    if (XFetchName(dpy, under, &title) && title) {
        bool same = name == title;
        XFree(title);
        if (same) return under;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(dpy, under, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i) found = findByName(dpy, children[i], name);
        if (children) XFree(children);
    }
    return found;
}

// One channel of a visual's pixel, widened to 8 bits.
unsigned long channelOf(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0, bits = 0;
    while (!((mask >> shift) & 1)) ++shift;
    while ((mask >> (shift + bits)) & 1) ++bits;
    unsigned long value = (pixel & mask) >> shift;
    return bits >= 8 ? value >> (bits - 8) : (value * 255) / ((1ul << bits) - 1);
}

// The window's pixel as 0xRRGGBB, whatever the server's depth.
unsigned long pixelAt(Display* dpy, Window w, int x, int y) {
    XImage* image = XGetImage(dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return ~0ul;
    unsigned long raw = XGetPixel(image, 0, 0);
    unsigned long pixel = channelOf(raw, image->red_mask) << 16 |
                          channelOf(raw, image->green_mask) << 8 | channelOf(raw, image->blue_mask);
    XDestroyImage(image);
    return pixel;
}

bool received(UINT message, WPARAM wParam) {
    for (const MSG& msg : posted())
        if (msg.message == message && msg.wParam == wParam) return true;
    return false;
}

class X11 : public ::testing::Test {
protected:
    void SetUp() override {
        vorlaxis::platform::useVideoDriver("x11");
        std::string why;
        if (!vorlaxis::platform::openVideo(&why)) GTEST_SKIP() << why;
        other = XOpenDisplay(nullptr);
        ASSERT_NE(other, nullptr);
        registerWindowClass("x11-test", keepingProc);
        registerWindowClass("x11-child", DefWindowProcA,
                            reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1));
        posted().clear();
    }
    void TearDown() override {
        if (other) XCloseDisplay(other);
        vorlaxis::platform::useVideoDriver("null");
    }
    Display* other = nullptr;
};

TEST_F(X11, TopLevelWindowCarriesCaptionClassAndClientGeometryAndShowsItsCanvases) {
    HWND hwnd = CreateWindowExA(0, "x11-test", "layer x11 test", 0, 40, 0, 300, 120, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    HWND child = CreateWindowExA(0, "x11-child", "child", WS_CHILD | WS_VISIBLE, 100, 20, 50, 40,
                                 hwnd, nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    // Exposure repaints the class background, so draw once the window is on screen.
    Window xwin = 0;
    ASSERT_TRUE(pumpUntil([&] {
        xwin = findByName(other, DefaultRootWindow(other), "layer x11 test");
        return xwin && received(WM_PAINT, 0);
    }));
    HDC hdc = GetDC(hwnd);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(hdc, red);
    SelectObject(hdc, GetStockObject(NULL_PEN));
    Rectangle(hdc, 0, 0, 21, 21);
    ASSERT_TRUE(pumpUntil([&] { return pixelAt(other, xwin, 5, 5) == 0xFF0000; }));
    XClassHint hint{};
    ASSERT_TRUE(XGetClassHint(other, xwin, &hint));
    EXPECT_STREQ(hint.res_name, "x11-test");
    EXPECT_STREQ(hint.res_class, "x11-test");
    XFree(hint.res_name);
    XFree(hint.res_class);
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(other, xwin, &attributes));
    EXPECT_EQ(attributes.width, 300);
    EXPECT_EQ(attributes.height, 120);
    EXPECT_EQ(attributes.x, 40);
    EXPECT_EQ(attributes.y, 0);
    EXPECT_EQ(pixelAt(other, xwin, 120, 40), 0x000000u);  // the child, drawn over its parent
    EXPECT_EQ(pixelAt(other, xwin, 250, 100), 0xFFFFFFu);

    // Later drawing shows on the next pump.
    Rectangle(hdc, 200, 80, 221, 101);
    EXPECT_TRUE(pumpUntil([&] { return pixelAt(other, xwin, 210, 90) == 0xFF0000; }));

    DestroyWindow(hwnd);
    EXPECT_TRUE(pumpUntil(
        [&] { return findByName(other, DefaultRootWindow(other), "layer x11 test") == 0; }));
    ReleaseDC(hwnd, hdc);
    DeleteObject(red);
}

TEST_F(X11, KeysAndTheCloseRequestBecomeMessages) {
    HWND hwnd = CreateWindowExA(0, "x11-test", "layer x11 input", 0, 0, 0, 64, 64, nullptr, nullptr,
                                nullptr, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    Window xwin = 0;
    ASSERT_TRUE(pumpUntil([&] {
        return (xwin = findByName(other, DefaultRootWindow(other), "layer x11 input")) != 0;
    }));
    XEvent key{};
    key.xkey.type = KeyPress;
    key.xkey.display = other;
    key.xkey.window = xwin;
    key.xkey.root = DefaultRootWindow(other);
    key.xkey.same_screen = True;
    for (KeySym sym : {XK_Escape, XK_a, XK_Left}) {
        key.xkey.keycode = XKeysymToKeycode(other, sym);
        XSendEvent(other, xwin, True, KeyPressMask, &key);
    }
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = xwin;
    close.xclient.message_type = XInternAtom(other, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(other, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(other, xwin, False, NoEventMask, &close);
    XFlush(other);
    EXPECT_TRUE(pumpUntil([&] { return received(WM_CLOSE, 0); }));
    EXPECT_TRUE(received(WM_KEYDOWN, VK_ESCAPE));
    EXPECT_TRUE(received(WM_KEYDOWN, 'A'));
    EXPECT_TRUE(received(WM_KEYDOWN, VK_LEFT));
    for (const MSG& msg : posted()) {
        if (msg.message == WM_CLOSE || msg.message == WM_KEYDOWN) {
            EXPECT_EQ(msg.hwnd, hwnd);
        }
    }
    DestroyWindow(hwnd);
}

}  // namespace
