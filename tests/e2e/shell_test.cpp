// The shell of the whole program under the test run's X server: the control panel's caption,
// class and client size, the ways out (Escape and the close request, in the panel or the 3D
// window) with the shut-down lines in order, and other keys changing nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/screen.h"

// After GoogleTest: Xlib's macros (None, Bool, ...) would break its headers.
#include <X11/Xlib.h>

namespace {

using e2e::expectCleanEnd;
using e2e::GameProcess;

const char* const kPanel = "Vorlaxis - control panel";
const char* const kScene = "Vorlaxis";

// The window manager's close request, as a window manager would send it.
bool sendCloseRequest(const std::string& window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = std::stoul(window);
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, close.xclient.window, False, NoEventMask, &close);
    XCloseDisplay(display);
    return sent != 0;
}

void pressKeys(const std::string& window, const std::string& keys) {
    e2e::capture("xdotool key --window " + window + " " + keys + " 2>/dev/null");
}

class ShellEndToEnd : public e2e::ClipTest {
protected:
    // Two players trading signs; the game loops it.
    const char* script() const override {
        return "fps 15\n15 rock 80,120 | paper 80,120\n15 scissors 60,120 | rock 100,120\n";
    }

    std::unique_ptr<GameProcess> start() {
        return std::make_unique<GameProcess>(std::vector<std::string>{
            "SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1", "VORLAXIS_CAMERA=" + clip_});
    }
};

TEST_F(ShellEndToEnd, ThePanelCarriesItsCaptionClassAndClientSizeAndEscapeEndsTheGame) {
    auto game = start();
    std::string panel = game->waitForWindow(kPanel, e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game->err();
    std::string info = e2e::capture("xwininfo -id " + panel);
    EXPECT_NE(info.find("Width: 1200\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 272\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left X:  40\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left Y:  0\n"), std::string::npos) << info;
    std::string wmClass = e2e::capture("xprop -id " + panel + " WM_CLASS");
    EXPECT_NE(wmClass.find("\"webcam\", \"webcam\""), std::string::npos) << wmClass;
    // Other keys are swallowed.
    pressKeys(panel, "a Return space Left");
    // Nothing may happen: give the keys a moment to be handled, then see the game still runs.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_TRUE(game->running()) << game->err();
    pressKeys(panel, "Escape");
    expectCleanEnd(*game);
}

TEST_F(ShellEndToEnd, TheCloseRequestEndsTheGameLikeEscape) {
    auto game = start();
    std::string panel = game->waitForWindow(kPanel, e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game->err();
    ASSERT_TRUE(sendCloseRequest(panel));
    expectCleanEnd(*game);
}

TEST_F(ShellEndToEnd, EscapeOrTheCloseRequestInThe3DWindowEndsTheGameLikeThePanel) {
    for (const char* way : {"Escape", "close"}) {
        SCOPED_TRACE(way);
        auto game = start();
        ASSERT_FALSE(game->waitForWindow(kPanel, e2e::kStartSeconds).empty()) << game->err();
        std::string scene = game->waitForWindow(kScene);
        ASSERT_FALSE(scene.empty());
        // Playing keys are just play.
        pressKeys(scene, "a Return x");
        if (std::string(way) == "close")
            ASSERT_TRUE(sendCloseRequest(scene));
        else
            pressKeys(scene, "Escape");
        expectCleanEnd(*game);
    }
}

TEST_F(ShellEndToEnd, CtrlCAndTerminationRequestsStillEndTheGame) {
    for (int signal : {SIGINT, SIGTERM}) {
        auto game = start();
        ASSERT_FALSE(game->waitForWindow(kPanel, e2e::kStartSeconds).empty()) << game->err();
        game->signal(signal);
        int status = -2;
        EXPECT_TRUE(game->wait(e2e::kReactSeconds, status))
            << "signal " << signal << " did not end the game; stdout: " << game->out()
            << " stderr: " << game->err();
        // The next game must not find this one's panel while the server is still removing it.
        EXPECT_TRUE(testwait::waitUntil([] { return e2e::findWindow(kPanel).empty(); }))
            << "the panel stayed";
    }
}

TEST_F(ShellEndToEnd, WithoutADisplayTheGameSaysSoAndEndsWithCode1BeforeAnythingStarts) {
    GameProcess game({"SDL_AUDIODRIVER=dummy", "VORLAXIS_CAMERA=" + clip_, "DISPLAY"});
    int status = -2;
    ASSERT_TRUE(game.wait(e2e::kReactSeconds, status)) << "the game did not end";
    EXPECT_EQ(status, 1);
    EXPECT_NE(game.err().find("Unable to create the control panel window: no X display"),
              std::string::npos)
        << game.err();
    EXPECT_EQ(game.out(), "");  // not even the camera was opened
}

}  // namespace
