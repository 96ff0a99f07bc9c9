// The fight in the whole screen: --fullscreen takes it at the start, F11 gives back the
// 800 x 600 window and takes the screen again. The 4:3 scene stays centred between black bars
// and keeps its textures (the Earth's map stays blue) through every change of mode.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/e2e/screen.h"
#include "tests/support/wait.h"

namespace {

using e2e::Area;
using e2e::count;
using e2e::GameProcess;
using e2e::screenshot;
using e2e::Shot;

struct Size {
    int width = 0, height = 0;
};

// A window's size by its id, or the screen's for "-root".
Size windowSize(const std::string& window) {
    const std::string which = window == "-root" ? window : "-id " + window;
    std::istringstream in(e2e::capture("xwininfo " + which + " 2>/dev/null"));
    Size size;
    for (std::string line; std::getline(in, line);) {
        if (line.find("Width:") != std::string::npos)
            size.width = std::stoi(line.substr(line.find(':') + 1));
        if (line.find("Height:") != std::string::npos)
            size.height = std::stoi(line.substr(line.find(':') + 1));
    }
    return size;
}

bool earthBlue(int r, int g, int b) { return b > 90 && b > r + 40 && b > g + 20; }

class FullscreenEndToEnd : public e2e::DisplayTest {
protected:
    // Waits until the screen shows the textured Earth (its map stays blue) in the lower half
    // of `area` and `test` holds for the shot of the whole screen, left in shot_.
    template <class Test>
    bool waitForScreen(GameProcess& game, const Area& area, Test test) {
        return testwait::waitUntil(
                   [&] {
                       if (!game.running()) return true;
                       const Area lower = {area.x0, (area.y0 + area.y1) / 2, area.x1, area.y1};
                       return screenshot("root", shot_) && count(shot_, lower, earthBlue) > 2000 &&
                              test(shot_);
                   },
                   e2e::kStartSeconds) &&
               game.running();
    }
    void press(const std::string& key) {
        e2e::capture("xdotool key --window " + scene_ + " " + key + " 2>/dev/null");
    }

    std::string scene_;
    Shot shot_;
};

TEST_F(FullscreenEndToEnd, TheSceneFillsTheScreenBetweenBarsAndF11SwitchesBackAndForth) {
    const Size screen = windowSize("-root");
    ASSERT_GT(screen.width, 1000) << "the screen is no larger than the window";
    GameProcess game({"SDL_AUDIODRIVER", "VORLAXIS_CAMERA", "LIBGL_ALWAYS_SOFTWARE=1",
                      "SDL_VIDEO_WINDOW_POS=0,0"},
                     {"--keyboard", "--mute", "--fullscreen"});
    ASSERT_FALSE(game.waitForWindow("Vorlaxis - control panel").empty()) << game.err();
    scene_ = e2e::findWindow("Vorlaxis");

    // The 4:3 scene in the middle of the screen, black bars either side (or above and below);
    // the control panel stands over the top of the screen, so the bars are looked at below it.
    const int sceneWidth = std::min(screen.width, screen.height * 4 / 3);
    const int bar = (screen.width - sceneWidth) / 2;
    const Area middle = {bar, 0, bar + sceneWidth, screen.height};
    const auto barsAreBlack = [&](const Shot& s) {
        return bar < 4 || (count(s, {0, 300, bar - 2, screen.height}, e2e::lit) == 0 &&
                           count(s, {screen.width - bar + 2, 300, screen.width, screen.height},
                                 e2e::lit) == 0);
    };
    // Outside the window, the screen is bare.
    const auto windowOnly = [&](const Shot& s) {
        return count(s, {820, 620, screen.width, screen.height}, e2e::lit) == 0;
    };
    const auto covered = [&](const Shot& s) {
        return barsAreBlack(s) &&
               count(s, {820, 620, bar + sceneWidth, screen.height}, e2e::lit) > 0;
    };
    EXPECT_TRUE(waitForScreen(game, middle, covered)) << "the scene does not cover the screen";

    press("F11");
    EXPECT_TRUE(waitForScreen(game, {0, 0, 800, 600}, windowOnly))
        << "F11 does not give back the window";
    press("F11");
    EXPECT_TRUE(waitForScreen(game, middle, covered)) << "F11 does not take the screen again";

    press("Escape");
    e2e::expectCleanEnd(game);
}

}  // namespace
