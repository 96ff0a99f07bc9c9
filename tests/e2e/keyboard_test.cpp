// Two players at one keyboard, with no camera and no sound device: player 1 walks in with D
// held and punches with X, and the panel shows player 2's life fall; the fight goes on to a
// knock-out, the scene shows "K.O." and then "PLAYER 1 WINS!", a new match starts with both
// bars full and the won match counted; Escape in the fight window ends the game cleanly.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/keyboard_play.h"

namespace {

using e2e::Area;
using e2e::count;
using e2e::GameProcess;
using e2e::kLife2;
using e2e::kWon1;
using e2e::lit;
using e2e::PanelRead;
using e2e::Shot;
using e2e::waitFor;
using e2e::waitForPanel;
using e2e::wholeRow;

// The control panel.
constexpr Area kKeyTables = {450, 0, 760, 140};
// The fight window: the banner at the bottom, the right ends of both life bars.
constexpr Area kBanner = {200, 512, 600, 570};
constexpr Area kBarEnd[2] = {{240, 60, 256, 72}, {722, 60, 738, 72}};
constexpr Area kWhole = {0, 0, 800, 600};

// "K.O.": gold letters on a dark red plate; "PLAYER 1 WINS!": pale blue letters, blue rim.
// The banner pulses, so the thresholds leave room for a faded one.
bool gold(int r, int g, int b) { return r > 170 && g > 120 && b < 100; }
bool redPlate(int r, int g, int b) { return r > 45 && g < 25 && b < 25; }
bool paleBlue(int r, int g, int b) { return r > 130 && g > 150 && b > 180; }
bool blueRim(int r, int g, int b) { return b > 170 && r < 110 && g > 90 && g < 170; }
bool green(int r, int g, int b) { return g > 150 && r < 100 && b < 100; }

bool showsKo(const Shot& s) {
    return count(s, kBanner, gold) > 300 && count(s, kBanner, redPlate) > 4000;
}
bool showsPlayer1Wins(const Shot& s) {
    return count(s, kBanner, paleBlue) > 300 && count(s, kBanner, blueRim) > 500;
}
bool bothBarsFull(const Shot& s) {
    return count(s, kBarEnd[0], green) > 150 && count(s, kBarEnd[1], green) > 150;
}

int redFighter(const Shot& s) { return count(s, kWhole, e2e::fighterRed); }

class KeyboardEndToEnd : public e2e::DisplayTest {
protected:
    void keys(const std::string& command) { e2e::xdotool(command); }
    void press(const std::string& key) { e2e::pressKey(scene_, key); }

    // Both windows of a started game: the panel's id, and the fight window's in scene_.
    void findWindows(GameProcess& game, std::string& panel) {
        panel = game.waitForWindow("Vorlaxis - control panel", e2e::kStartSeconds);
        ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game.err();
        scene_ = e2e::findWindow("Vorlaxis");
        ASSERT_FALSE(scene_.empty());
    }

    std::string scene_;
};

// A keyboard game with no audio driver named and no camera: neither is needed.
const std::vector<std::string> kEnvironment = {
    "SDL_AUDIODRIVER", "VORLAXIS_CAMERA", "LIBGL_ALWAYS_SOFTWARE=1", "SDL_VIDEO_WINDOW_POS=0,300"};
const std::vector<std::string> kArguments = {"--keyboard", "--mute"};

TEST_F(KeyboardEndToEnd, TwoPlayersFightAtOneKeyboardToAKnockOutAndARematch) {
    GameProcess game(kEnvironment, kArguments);
    std::string panel;
    ASSERT_NO_FATAL_FAILURE(findWindows(game, panel));

    PanelRead start, now;
    Shot sceneShot;
    ASSERT_TRUE(waitForPanel(
        game, panel,
        [&](const Shot& s, const PanelRead&) {
            return count(s, kKeyTables, lit) > 300 && wholeRow(s, kLife2) && wholeRow(s, kWon1);
        },
        start))
        << "no key tables, lives or matches won in the panel; stderr: " << game.err();

    // Player 1 holds D and walks all the way to player 2. The camera closes in as the gap
    // shrinks, so player 2 (who stands still) grows on screen until they meet.
    ASSERT_TRUE(waitFor(
        game, scene_, [](const Shot& s) { return redFighter(s) > 300; }, sceneShot));
    const int farAway = redFighter(sceneShot);
    int previous = 0;
    keys("keydown --window " + scene_ + " d");
    const bool met = waitFor(
        game, scene_,
        [&](const Shot& s) {
            const int now = redFighter(s);
            const bool steady = std::abs(now - previous) < now / 20;
            previous = now;
            return steady && 2 * now > 3 * farAway;
        },
        sceneShot);
    keys("keyup --window " + scene_ + " d");
    ASSERT_TRUE(met) << "the fighters never met";

    // A punch with X: player 2's life in the panel falls.
    press("x");
    ASSERT_TRUE(waitForPanel(
        game, panel, [&](const Shot&, const PanelRead& r) { return r.life2 != start.life2; }, now))
        << "player 2's life did not fall";

    // New signs at close range, scissors and paper in turn, until player 2 is knocked out.
    bool scissors = true;
    ASSERT_TRUE(waitFor(game, scene_, showsKo, sceneShot, [&] {
        press(scissors ? "c" : "x");
        scissors = !scissors;
    })) << "no K.O. banner";
    // The winner banner follows the K.O. for only a second or two of turns, so it is looked
    // for at once; the won match stays counted in the panel through the next match.
    EXPECT_TRUE(waitFor(game, scene_, showsPlayer1Wins, sceneShot)) << "no winner banner";
    EXPECT_TRUE(waitForPanel(
        game, panel, [&](const Shot&, const PanelRead& r) { return r.won1 != start.won1; }, now))
        << "the won match is not counted in the panel";

    // The new match: full lives in the panel (as at the start) and on both bars, one match won.
    EXPECT_TRUE(waitForPanel(
        game, panel,
        [&](const Shot&, const PanelRead& r) {
            return r.life2 == start.life2 && r.won1 != start.won1;
        },
        now))
        << "the panel shows no new match";
    EXPECT_TRUE(waitFor(game, scene_, bothBarsFull, sceneShot)) << "the bars are not full again";
    EXPECT_GT(count(sceneShot, kWhole, e2e::fighterBlue), 300);
    EXPECT_GT(count(sceneShot, kWhole, e2e::fighterRed), 300);

    press("Escape");
    e2e::expectCleanEnd(game);
}

// The "PAUSE" plate in the middle of the scene: gold letters on navy.
constexpr Area kPausePlate = {200, 255, 600, 345};
bool navy(int r, int g, int b) { return b > 45 && b < 120 && r < 50 && g < 60; }
bool showsPause(const Shot& s) {
    return count(s, kPausePlate, gold) > 300 && count(s, kPausePlate, navy) > 4000;
}

TEST_F(KeyboardEndToEnd, PPausesTheMatchAndPAgainResumesIt) {
    GameProcess game(kEnvironment, kArguments);
    std::string panel;
    ASSERT_NO_FATAL_FAILURE(findWindows(game, panel));
    Shot shot;
    ASSERT_TRUE(waitFor(
        game, scene_, [](const Shot& s) { return redFighter(s) > 300; }, shot));

    // As player 1 walks in, the camera closes in and player 2 grows on screen.
    press("p");
    ASSERT_TRUE(waitFor(game, scene_, showsPause, shot)) << "no PAUSE plate";
    const int before = redFighter(shot);
    // Held D walks nobody while the match is paused.
    keys("keydown --window " + scene_ + " d");
    // A fixed wait: it shows that nothing happens, that no turn passes while paused.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(screenshot(scene_, shot));
    EXPECT_TRUE(showsPause(shot));
    EXPECT_NEAR(redFighter(shot), before, before / 20) << "a turn passed while paused";

    press("p");
    const bool walked = waitFor(
        game, scene_,
        [&](const Shot& s) { return !showsPause(s) && 2 * redFighter(s) > 3 * before; }, shot);
    keys("keyup --window " + scene_ + " d");
    EXPECT_TRUE(walked) << "the match did not resume";

    press("Escape");
    e2e::expectCleanEnd(game);
}

}  // namespace
