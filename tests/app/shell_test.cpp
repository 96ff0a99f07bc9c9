// The control panel window and its procedure, and the worker thread's passes over a clip.
#include <SDL/SDL.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/panel/panel_feed.h"
#include "play/quit.h"
#include "tests/app/panel.h"
#include "tests/support/headless_window.h"
#include "tests/support/scoped_env.h"
#include "tests/support/wait.h"
#include "vision/Picture.h"

namespace {

using namespace std::chrono;
using testing_app::PanelTest;

bool takeQuit() {
    MSG msg;
    bool quit = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
    return quit;
}

class Shell : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // What an earlier test's Escape left: its quit message and its request.
        takeQuit();
        play::takeQuitRequest();
    }
};

TEST_F(Shell, ThePanelHasA1200By272ClientAreaInTheClassBackground) {
    vorlaxis::platform::CanvasLock lock(g_hWnd);
    EXPECT_EQ(lock.width(), 1200);
    EXPECT_EQ(lock.height(), 272);
}

TEST_F(Shell, EscapeAndTheCloseRequestPostTheQuitMessageOtherKeysAreSwallowed) {
    EXPECT_EQ(WndProc(g_hWnd, WM_KEYDOWN, 'A', 0), 0);
    EXPECT_EQ(WndProc(g_hWnd, WM_KEYDOWN, VK_RETURN, 0), 0);
    EXPECT_FALSE(takeQuit());
    EXPECT_EQ(WndProc(g_hWnd, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_TRUE(takeQuit());
    EXPECT_EQ(WndProc(g_hWnd, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(takeQuit());
    EXPECT_TRUE(IsWindow(g_hWnd));  // the main loop destroys it, after the worker has ended
}

TEST_F(Shell, RepaintingClearsToTheBackgroundForTheWorkerToRedraw) {
    displayResultsWebcam();
    EXPECT_EQ(WndProc(g_hWnd, WM_PAINT, 0, 0), 0);
    vorlaxis::platform::CanvasLock lock(g_hWnd);
    EXPECT_EQ(lock.row(100)[350], 0xFFFFFFu);
}

std::vector<UINT>& dispatched() {
    static std::vector<UINT> log;
    return log;
}

LRESULT CALLBACK loggingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    dispatched().push_back(message);
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

TEST_F(Shell, PendingMessagesAllGoBeforeTheNextTurnAndEscapeEndsTheLoop) {
    constexpr UINT kFirst = 0x8001, kSecond = 0x8002, kThird = 0x8003, kTurn = 0;
    testsupport::registerWindowClass("loop-test", loggingProc, nullptr);
    const testsupport::HeadlessWindow loop("loop-test", 8, 8);
    HWND other = loop.handle();
    dispatched().clear();
    PostMessageA(other, kFirst, 0, 0);
    PostMessageA(other, kSecond, 0, 0);
    int turns = 0;
    runMainLoop([&] {
        dispatched().push_back(kTurn);
        ++turns;
        if (turns == 1) PostMessageA(other, kThird, 0, 0);
        if (turns == 2) PostMessageA(g_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_LE(turns, 2) << "the loop ran on after Escape";
    });
    EXPECT_EQ(dispatched(), (std::vector<UINT>{kFirst, kSecond, kTurn, kThird, kTurn}));
}

// On Windows SDL's event pump takes WM_QUIT off the queue and drops it; the request itself
// must still end the loop, before another turn.
TEST_F(Shell, AQuitRequestWhoseMessageWasTakenElsewhereStillEndsTheLoop) {
    int turns = 0;
    runMainLoop([&] {
        ++turns;
        ASSERT_LE(turns, 1) << "the loop ran on after the quit request";
        PostMessageA(g_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT) DispatchMessageA(&msg);  // as SDL's pump does
        }
    });
    EXPECT_EQ(turns, 1);
    EXPECT_FALSE(play::takeQuitRequest()) << "the loop leaves no request behind";
}

// A short clip of both players' hands, made by the clip generator.
std::string makeClip() {
    std::string dir = testing::TempDir();
    std::string script = dir + "/shell_clip.txt", clip = dir + "/shell_clip.y4m";
    FILE* out = std::fopen(script.c_str(), "w");
    if (!out) return "";
    std::fputs("fps 15\n20 scissors 40,120 | paper 120,120\n", out);
    std::fclose(out);
    std::string command =
        std::string(VORLAXIS_BIN_DIR) + "/tools/clipgen " + script + " " + clip + " 2>/dev/null";
    return std::system(command.c_str()) == 0 ? clip : "";
}

TEST_F(Shell, TheWorkerReadsTheCameraDrawsEveryBlockAndStopsOnTheSignal) {
    std::string clip = makeClip();
    if (clip.empty()) GTEST_SKIP() << "no clip generator";
    const testsupport::ScopedEnv camera("VORLAXIS_CAMERA", clip);
    WebCam.hWndParent = g_hWnd;
    WebCam.hDCAffichage = g_hDC;
    ASSERT_TRUE(WebCam.Connect());
    WebCam.AfficheWebCam();
    thread_signal = 0;
    testing::internal::CaptureStdout();
    SDL_Thread* thread = SDL_CreateThread(thread_webcam, nullptr);
    ASSERT_NE(thread, nullptr);
    // Pump as the main loop would, so the preview refreshes, until a pass has been drawn.
    const bool drawn = testwait::waitUntil(
        [&] {
            takeQuit();
            return WebCam.rps1.load() == vision::kScissors &&
                   WebCam.rps2.load() == vision::kPaper &&
                   inked(panel::kTextPanel1Left, 0, panel::kPreviewX, panel::kTextPanelHeight) > 0;
        },
        testwait::kPatienceSeconds, milliseconds(20));
    thread_signal = -1;
    SDL_WaitThread(thread, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Thread quitting\n");
    thread_signal = 0;
    ASSERT_TRUE(drawn);
    EXPECT_GT(inked(panel::kTextPanel2Left, 0, panel::kMask2X, panel::kTextPanelHeight), 0);
    EXPECT_GT(inked(panel::kBox1Left, 0, panel::kBoxWidth, panel::kMaskHeight), 0);  // marker
    EXPECT_GT(inked(panel::kBox2Left, 0, panel::kClientWidth, panel::kMaskHeight), 0);
    // The mask halves fill their blocks: white hand on black.
    vorlaxis::platform::CanvasLock lock(g_hWnd);
    int white = 0;
    for (int y = 0; y < panel::kMaskHeight; ++y)
        for (int x = panel::kMask1X; x < panel::kMask1X + panel::kMaskWidth; ++x)
            white += lock.row(y)[x] == 0xFFFFFFu;
    EXPECT_GT(white, 100);
}

TEST_F(Shell, WithoutACameraTheWorkerDrawsTheKeyTablesAndNeverGrabs) {
    Options keyboard;
    keyboard.keyboard = true;
    keyboard.player1.kind = keyboard.player2.kind = play::PlayerSource::KEYBOARD;
    publishSides(keyboard, false);
    // Any analysed frame would overwrite these.
    WebCam.baryX1 = -7;
    WebCam.nbPixels1 = -7;
    thread_signal = 0;
    testing::internal::CaptureStdout();
    SDL_Thread* thread = SDL_CreateThread(thread_webcam, nullptr);
    ASSERT_NE(thread, nullptr);
    auto deadline = steady_clock::now() + seconds(20);
    while (inked(450, 0, 760, 140) == 0 && steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(20));
    thread_signal = -1;
    SDL_WaitThread(thread, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Thread quitting\n");
    thread_signal = 0;
    publishSides(Options(), false);
    EXPECT_GT(inked(450, 0, 760, 140), 0) << "no key tables";
    EXPECT_EQ(WebCam.baryX1.load(), -7) << "a frame was analysed";
    EXPECT_EQ(WebCam.nbPixels1.load(), -7) << "a frame was analysed";
}

}  // namespace
