// The menu driven as a player would, with xdotool: from --menu to a match against the easy
// computer at the keyboard, back to the title screen with Escape, and out with Quit.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/e2e/keyboard_play.h"
#include "tests/e2e/screen.h"
#include "tests/support/scratch_folder.h"

namespace {

using e2e::Area;
using e2e::GameProcess;
using e2e::Shot;

// The label of the last title item, "Quit", white on the dark plate.
constexpr Area kQuitLabel = {115, 505, 180, 540};
// The reason beside the first title item: "- no camera found", dimmed red.
constexpr Area kFirstReason = {460, 155, 710, 190};
// The menu's rows of items, where the highlight moves.
constexpr Area kMenuRows = {70, 150, 730, 560};
// Player 2's "CPU EASY" badge during the match.
constexpr Area kEasyBadge = {665, 102, 735, 122};

bool white(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
bool dimRed(int r, int g, int b) { return r > 110 && r - g > 25 && r - b > 25; }
bool easyGreen(int r, int g, int b) { return g > 150 && r < 160 && b < 160; }

bool titleShown(const Shot& shot) { return e2e::count(shot, kQuitLabel, white) > 40; }

class MenuEndToEnd : public e2e::DisplayTest {
protected:
    GameProcess start() {
        const std::string home = testsupport::scratchPath("menu", "");
        return GameProcess({"SDL_AUDIODRIVER", "VORLAXIS_CAMERA", "LIBGL_ALWAYS_SOFTWARE=1",
                            "SDL_VIDEO_WINDOW_POS=0,300", "XDG_DATA_HOME=" + home + "/data",
                            "XDG_CONFIG_HOME=" + home + "/config"},
                           {"--menu", "--mute"});
    }

    // Presses one key and waits for the menu to show its effect: one key an X event time, as a
    // player's are, so that none is taken for the repeat of the one before.
    bool step(GameProcess& game, const std::string& window, const char* key) {
        Shot before, now;
        if (!e2e::screenshot(window, before) || before.width < 800) return false;
        e2e::pressKey(window, key);
        return e2e::waitFor(
            game, window,
            [&](const Shot& shot) {
                return e2e::pixelsOf(shot, kMenuRows) != e2e::pixelsOf(before, kMenuRows);
            },
            now);
    }

    // The fight window of a run, once its control panel shows too; empty when none came.
    std::string waitForRun(GameProcess& game) {
        std::string scene;
        testwait::waitUntil(
            [&] {
                scene = e2e::findWindow(e2e::kSceneCaption);
                return !game.running() ||
                       (!e2e::findWindow(e2e::kPanelCaption).empty() && !scene.empty());
            },
            e2e::kStartSeconds, std::chrono::milliseconds(100));
        return game.running() ? scene : "";
    }

    // The fight window showing the title screen; empty when it did not come.
    std::string waitForTitle(GameProcess& game) {
        std::string window;
        Shot shot;
        testwait::waitUntil(
            [&] {
                if (!game.running()) return true;
                window = e2e::findWindow(e2e::kSceneCaption);
                return !window.empty() && e2e::screenshot(window, shot) && shot.width >= 800 &&
                       titleShown(shot);
            },
            e2e::kStartSeconds, std::chrono::milliseconds(100));
        return game.running() && titleShown(shot) ? window : "";
    }
};

TEST_F(MenuEndToEnd, AComputerMatchChosenOnTheMenuReturnsToItAndQuitEndsTheGame) {
    GameProcess game = start();
    const auto opened = std::chrono::steady_clock::now();
    std::string title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << game.err();
    std::printf("title screen %lld ms after start\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - opened)
                                           .count()));
    Shot shot;
    ASSERT_TRUE(e2e::screenshot(title, shot));
    EXPECT_GT(e2e::count(shot, kFirstReason, dimRed), 40) << "no reason beside the camera item";

    // The first item cannot be chosen without a camera: Enter leaves the title screen there.
    e2e::pressKey(title, "Return");
    for (const char* key : {"Down", "Return", "Return", "Down"})
        ASSERT_TRUE(step(game, title, key));
    e2e::pressKey(title, "Return");
    std::string scene;
    ASSERT_TRUE(testwait::waitUntil(
        [&] {
            scene = e2e::findWindow(e2e::kSceneCaption);
            return !game.running() ||
                   (!e2e::findWindow(e2e::kPanelCaption).empty() && !scene.empty());
        },
        e2e::kStartSeconds))
        << game.err();
    EXPECT_TRUE(e2e::waitFor(
        game, scene, [](const Shot& s) { return e2e::count(s, kEasyBadge, easyGreen) > 40; }, shot))
        << "no CPU EASY badge";

    e2e::pressKey(scene, "Escape");
    title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << "no title screen after the match; " << game.err();

    ASSERT_TRUE(step(game, title, "Up"));
    e2e::pressKey(title, "Return");
    int status = -2;
    ASSERT_TRUE(game.wait(e2e::kReactSeconds, status)) << "Quit did not end the game";
    EXPECT_EQ(status, 0) << game.err();
}

TEST_F(MenuEndToEnd, EscapeInTheControlPanelOfAMenuRunEndsTheWholeGame) {
    GameProcess game = start();
    const std::string title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << game.err();
    for (const char* key : {"Down", "Down"}) ASSERT_TRUE(step(game, title, key));
    e2e::pressKey(title, "Return");
    ASSERT_FALSE(waitForRun(game).empty()) << game.err();
    e2e::pressKey(e2e::findWindow(e2e::kPanelCaption), "Escape");
    int status = -2;
    ASSERT_TRUE(game.wait(e2e::kReactSeconds, status)) << "the game did not end";
    EXPECT_EQ(status, 0) << game.err();
}

}  // namespace
