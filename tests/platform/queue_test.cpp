// Message queues: one per thread, never blocking; and the window calls around them.
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "tests/support/headless_window.h"

namespace {

using namespace std::chrono;
using testsupport::registerWindowClass;

// A private message outside the capture range, which goes to the capture driver.
constexpr UINT kAppMessage = 0x8001;

std::vector<UINT>& received() {
    static std::vector<UINT> messages;
    return messages;
}

LRESULT CALLBACK recordingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    received().push_back(msg);
    if (msg == kAppMessage) return static_cast<LRESULT>(wParam * 2);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

class Queue : public ::testing::Test {
protected:
    void SetUp() override {
        vorlaxis::platform::useVideoDriver("null");
        registerWindowClass("queue-test", recordingProc);
        drain();
        received().clear();
    }
    static HWND makeWindow(DWORD style = 0, HWND parent = nullptr) {
        return CreateWindowExA(0, "queue-test", "queue", style, 0, 0, 16, 16, parent, nullptr,
                               nullptr, nullptr);
    }
    static void drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};

TEST_F(Queue, PeekMessageNeverWaits) {
    MSG msg;
    auto start = steady_clock::now();
    for (int i = 0; i < 1000; ++i) ASSERT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_LT(steady_clock::now() - start, milliseconds(500));
}

TEST_F(Queue, PostedMessagesComeBackInOrderAndQuitComesLast) {
    HWND hwnd = makeWindow();
    PostQuitMessage(7);
    PostMessageA(hwnd, WM_USER + 5, 1, 2);
    PostMessageA(hwnd, WM_USER + 6, 3, 4);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
    EXPECT_EQ(msg.hwnd, hwnd);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.lParam, 2);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 6));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(hwnd);
}

TEST_F(Queue, FiltersByWindowAndMessageRange) {
    HWND a = makeWindow(), b = makeWindow();
    PostMessageA(a, WM_USER + 1, 0, 0);
    PostMessageA(b, WM_KEYDOWN, VK_SPACE, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_KEYUP, WM_CHAR, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, a);
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(Queue, EachThreadHasItsOwnQueueAndQuitGoesOnlyToTheCaller) {
    std::atomic<HWND> workerWindow{nullptr};
    std::atomic<bool> posted{false};
    std::atomic<int> workerGot{0};
    std::atomic<bool> workerSawQuit{false};
    std::thread worker([&] {
        workerWindow = makeWindow();
        PostQuitMessage(3);  // the worker's own queue
        while (!posted) std::this_thread::yield();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_USER + 9) ++workerGot;
            if (msg.message == WM_QUIT) workerSawQuit = true;
        }
        DestroyWindow(workerWindow);
    });
    while (!workerWindow) std::this_thread::yield();
    // A message for the worker's window goes to the worker's queue, not to ours.
    EXPECT_TRUE(PostMessageA(workerWindow, WM_USER + 9, 0, 0));
    posted = true;
    worker.join();
    EXPECT_EQ(workerGot.load(), 1);
    EXPECT_TRUE(workerSawQuit.load());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, DispatchCallsTheWindowProcedureAndTranslateAddsCharacters) {
    HWND hwnd = makeWindow();
    received().clear();
    MSG key{};
    key.hwnd = hwnd;
    key.message = WM_KEYDOWN;
    key.wParam = 'Q';
    EXPECT_TRUE(TranslateMessage(&key));
    EXPECT_EQ(DispatchMessageA(&key), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('q'));
    key.wParam = VK_LEFT;
    EXPECT_FALSE(TranslateMessage(&key));  // no character for arrows
    EXPECT_EQ(SendMessageA(hwnd, kAppMessage, 21, 0), 42);
    EXPECT_EQ(received(), (std::vector<UINT>{WM_KEYDOWN, kAppMessage}));
    DestroyWindow(hwnd);
    EXPECT_EQ(SendMessageA(hwnd, kAppMessage, 21, 0), 0);  // gone: nothing is called
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 0, 0));
}

TEST_F(Queue, CaptureMessagesGoToTheCaptureHookAndTheIdlePumpRunsOnTheMainThreadOnly) {
    UINT seen = 0;
    vorlaxis::platform::setCaptureMessageHook([&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
        seen = msg;
        return 1;
    });
    EXPECT_EQ(SendMessageA(nullptr, WM_CAP_DRIVER_CONNECT, 0, 0), 1);
    EXPECT_EQ(seen, static_cast<UINT>(WM_CAP_DRIVER_CONNECT));
    vorlaxis::platform::setCaptureMessageHook(nullptr);
    EXPECT_EQ(SendMessageA(nullptr, WM_CAP_SET_PREVIEW, 1, 0), 0);

    std::atomic<int> pumped{0};
    vorlaxis::platform::setIdlePump([&] { ++pumped; });
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(pumped.load(), 1);
    std::thread([&] { PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); }).join();
    EXPECT_EQ(pumped.load(), 1);
    vorlaxis::platform::setIdlePump(nullptr);
}

TEST_F(Queue, WindowsAreCreatedAndDestroyedWithTheirChildren) {
    HWND parent = makeWindow();
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, parent);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(makeWindow(WS_CHILD, reinterpret_cast<HWND>(0x99)), nullptr);  // no such parent
    EXPECT_EQ(received().front(), static_cast<UINT>(WM_CREATE));
    received().clear();
    // A child draws on its own canvas.
    HDC childDC = GetDC(child);
    SelectObject(childDC, GetStockObject(BLACK_BRUSH));
    Rectangle(childDC, 0, 0, 16, 16);
    EXPECT_EQ(GetPixel(childDC, 8, 8), RGB(0, 0, 0));
    HDC parentDC = GetDC(parent);
    EXPECT_EQ(GetPixel(parentDC, 8, 8), RGB(255, 255, 255));
    EXPECT_TRUE(DestroyWindow(parent));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(received(), (std::vector<UINT>{WM_DESTROY, WM_DESTROY}));
    EXPECT_FALSE(DestroyWindow(parent));
    ReleaseDC(child, childDC);
    ReleaseDC(parent, parentDC);
}

TEST_F(Queue, DefaultProcedureDestroysOnCloseAndRepaintsTheBackground) {
    HWND hwnd = makeWindow();
    HDC hdc = GetDC(hwnd);
    SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    Rectangle(hdc, 0, 0, 16, 16);
    EXPECT_EQ(DefWindowProcA(hwnd, WM_PAINT, 0, 0), 0);
    EXPECT_EQ(GetPixel(hdc, 8, 8), RGB(255, 255, 255));
    RECT rect{0, 0, 1200, 272};
    EXPECT_TRUE(AdjustWindowRect(&rect, 0, FALSE));
    EXPECT_EQ(rect.right - rect.left, 1200);  // no frame to add around the client area
    EXPECT_EQ(DefWindowProcA(hwnd, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    ReleaseDC(hwnd, hdc);
}

}  // namespace
