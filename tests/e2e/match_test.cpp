// A whole match played by a clip camera: two players walk towards each other and trade close
// attacks. The control panel must show the preview, both mask halves and readings that follow
// the clip, with lives that fall; the 3D window must show both fighters, the backdrop and the
// life bars with their labels; Escape must end it all cleanly.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/e2e/screen.h"

namespace {

using e2e::GameProcess;
using e2e::screenshot;
using e2e::Shot;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kPlaySeconds = 120;  // instrumented builds play fewer turns a second
#else
constexpr int kPlaySeconds = 60;
#endif

// Input is ignored for the first turns; then both hands lean towards the picture's middle so
// the fighters walk into contact, and trade new paper and scissors signs there. The game loops
// the clip.
const char* const kScript =
    "fps 15\n"
    "15  rock 80,120                | rock 80,120\n"
    "40  rock 40,120                | rock 120,120\n"
    "10  rock 80,120                | rock 80,120\n"
    "12  paper 80,115               | scissors 80,120\n"
    "12  scissors 80,120            | paper 80,115\n"
    "12  paper 80,115               | scissors 80,120\n"
    "12  scissors 80,120            | paper 80,115\n";

using e2e::Area;
using e2e::count;
using e2e::fighterBlue;
using e2e::fighterRed;
using e2e::lit;
using e2e::pixelsOf;

// Areas of the control panel's client area.
constexpr Area kLife[2] = {{330, 120, 440, 140}, {770, 120, 880, 140}};
constexpr Area kSignWord[2] = {{330, 200, 440, 220}, {770, 200, 880, 220}};
constexpr Area kMask[2] = {{160, 0, 320, 240}, {880, 0, 1040, 240}};
constexpr Area kPreview = {440, 0, 760, 240};

bool white(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
bool bright(int r, int g, int b) { return r + g + b > 300; }

class MatchEndToEnd : public e2e::ClipTest {
protected:
    const char* script() const override { return kScript; }
};

TEST_F(MatchEndToEnd, TheClipDrivesAMatchThatBothWindowsShow) {
    // With no window manager the panel at (40, 0) would cover the scene's top: put the scene
    // below it, as a window manager would.
    GameProcess game({"SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1",
                      "VORLAXIS_CAMERA=" + clip_, "SDL_VIDEO_WINDOW_POS=0,300"});
    const std::string panel = game.waitForWindow("Vorlaxis - control panel", e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game.err();
    const std::string scene = game.waitForWindow("Vorlaxis");
    ASSERT_FALSE(scene.empty());

    // The worker's first passes show both lives at their start, before any input counts. On
    // a busy machine the first pass may come well after the panel appears, so wait until two
    // looks in a row agree on two lit lives: a look during a repaint is no start value.
    Shot first, previous;
    const auto bothLivesShown = [&] {
        previous = first;
        if (!screenshot(panel, first)) return false;
        for (const Area& a : kLife)
            if (count(first, a, lit) <= 20 || previous.width != first.width ||
                pixelsOf(first, a) != pixelsOf(previous, a))
                return false;
        return true;
    };
    ASSERT_TRUE(
        testwait::waitUntil(bothLivesShown, e2e::kReactSeconds, std::chrono::milliseconds(100)))
        << "no life shown";

    // Play until both lives shown in the panel have changed (they can only fall).
    std::set<std::string> signWords[2];
    bool fell[2] = {false, false};
    bool fightersSeen[2] = {false, false};
    Shot panelShot, sceneShot;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kPlaySeconds);
    const auto seenAll = [&] {
        return fell[0] && fell[1] && fightersSeen[0] && fightersSeen[1] &&
               signWords[0].size() >= 2 && signWords[1].size() >= 2;
    };
    while (!seenAll() && std::chrono::steady_clock::now() < end && game.running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        if (!screenshot(panel, panelShot) || !screenshot(scene, sceneShot)) continue;
        for (int p = 0; p < 2; ++p) {
            fell[p] = fell[p] || pixelsOf(panelShot, kLife[p]) != pixelsOf(first, kLife[p]);
            signWords[p].insert(pixelsOf(panelShot, kSignWord[p]));
        }
        const Area whole = {0, 0, sceneShot.width, sceneShot.height};
        fightersSeen[0] = fightersSeen[0] || count(sceneShot, whole, fighterBlue) > 300;
        fightersSeen[1] = fightersSeen[1] || count(sceneShot, whole, fighterRed) > 300;
    }
    ASSERT_TRUE(game.running()) << game.out() << game.err();
    EXPECT_TRUE(fell[0] && fell[1]) << "the lives shown in the panel did not change";
    EXPECT_TRUE(fightersSeen[0] && fightersSeen[1]) << "both fighters were not seen";
    for (int p = 0; p < 2; ++p)
        EXPECT_GE(signWords[p].size(), 2u) << "player " << p + 1 << "'s sign word never changed";

    // The panel: the clip's picture in the preview, a hand in each mirrored mask half.
    EXPECT_GT(count(panelShot, kPreview, bright), 500) << "no hands in the preview";
    for (const Area& a : kMask) EXPECT_GT(count(panelShot, a, white), 500) << "an empty mask half";

    // The scene: the backdrop's stars and planets, and both life-bar labels at the top.
    ASSERT_EQ(sceneShot.width, 800);
    ASSERT_EQ(sceneShot.height, 600);
    EXPECT_GT(count(sceneShot, {0, 0, 800, 600}, lit), 5000) << "no backdrop";
    const Area labels[2] = {{40, 30, 280, 90}, {520, 30, 760, 90}};
    for (const Area& a : labels)
        EXPECT_GT(count(sceneShot, a, lit), 3000) << "a life-bar label is missing";

    e2e::capture("xdotool key --window " + panel + " Escape 2>/dev/null");
    e2e::expectCleanEnd(game);
}

}  // namespace
