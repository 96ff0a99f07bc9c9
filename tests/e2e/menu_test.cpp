// The menu driven as a player would, with xdotool, the mouse and a simulated gamepad: from
// --menu to a match against the easy computer and back, its replay from the list, Join with a
// typed address, a choice made by a hand on a camera clip, and every way out. One process plays
// every run; each test ends it and waits for it, and presses no key without letting it go, so that
// the tests after these find the X server as they expect it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/keyboard_play.h"
#include "tests/e2e/screen.h"
#include "tests/gamepad/sim_gamepad.h"
#include "tests/support/scratch_folder.h"

namespace {

using e2e::Area;
using e2e::GameProcess;
using e2e::Shot;

// The label of the last title item, "Quit", white on the dark plate.
constexpr Area kQuitLabel = {78, 508, 145, 540};
// The reason beside the first title item: "- no camera found", dimmed red.
constexpr Area kFirstReason = {470, 155, 740, 190};
// The menu's rows of items, where the highlight moves.
constexpr Area kMenuRows = {30, 150, 770, 560};
// Player 2's "CPU EASY" badge during the match.
constexpr Area kEasyBadge = {665, 102, 735, 122};
// The line under the title's items that says why the last run failed, in orange.
constexpr Area kNotice = {40, 556, 770, 590};
// The fight window's network line along its bottom edge, pale cyan.
constexpr Area kNetLine = {0, 570, 800, 600};
// The control panel's key tables.
constexpr Area kKeyTables = {450, 0, 760, 140};

bool white(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
bool dimRed(int r, int g, int b) { return r > 110 && r - g > 25 && r - b > 25; }
bool easyGreen(int r, int g, int b) { return g > 150 && r < 160 && b < 160; }
bool orange(int r, int g, int b) { return r > 200 && g > 100 && g < 200 && b < 150; }
bool cyan(int r, int g, int b) { return b > 200 && g > 180 && r > 90 && r < 190; }

// The highlight's frame around a row (amber, as the hold's ring and the calibration prompt).
bool amber(int r, int g, int b) { return r > 200 && g > 170 && b < 120; }

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool titleShown(const Shot& shot) { return e2e::count(shot, kQuitLabel, white) > 40; }
bool easyBadge(const Shot& shot) { return e2e::count(shot, kEasyBadge, easyGreen) > 40; }

// The middle of title row `row`, in the fight window's pixels.
std::string rowPoint(int row) { return "200 " + std::to_string(172 + 44 * row); }

long long msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

class MenuEndToEnd : public e2e::DisplayTest {
protected:
    std::vector<std::string> environment(const std::string& place = "0,300") const {
        return {"SDL_AUDIODRIVER",
                "VORLAXIS_CAMERA",
                "LIBGL_ALWAYS_SOFTWARE=1",
                "SDL_VIDEO_WINDOW_POS=" + place,
                "XDG_DATA_HOME=" + home_.path() + "/data",
                "XDG_CONFIG_HOME=" + home_.path() + "/config"};
    }

    // Presses one key and waits for the menu to show its effect: one key an X event time, as a
    // player's are, so that none is taken for the repeat of the one before.
    static bool step(GameProcess& game, const std::string& window, const char* key) {
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

    // The fight window showing the title screen (not the window `other`, another game's);
    // empty when it did not come.
    static std::string waitForTitle(GameProcess& game, const std::string& other = "") {
        std::string window;
        testwait::waitUntil(
            [&] {
                const std::string ids =
                    e2e::capture("xdotool search --name '^" + std::string(e2e::kSceneCaption) +
                                 "$' 2>/dev/null");
                for (size_t at = 0, end; (end = ids.find('\n', at)) != std::string::npos;
                     at = end + 1)
                    if (ids.substr(at, end - at) != other) window = ids.substr(at, end - at);
                return !window.empty() || !game.running();
            },
            e2e::kStartSeconds, std::chrono::milliseconds(100));
        Shot shot;
        if (window.empty() || !e2e::waitFor(game, window, titleShown, shot)) return "";
        return window;
    }

    // Waits until the fight window shows the easy computer's badge: a match against it runs.
    static bool waitForEasyMatch(GameProcess& game, const std::string& window) {
        Shot shot;
        return e2e::waitFor(game, window, easyBadge, shot);
    }

    // Types `text` key by key, each awaited on the screen: SDL takes a release and a press of
    // the same key queued together at one X time (xdotool's) for a repeat and drops both.
    static void typeKeys(GameProcess& game, const std::string& window, const std::string& text) {
        for (char c : text) {
            const std::string key = c == '.' ? "period" : c == ':' ? "colon" : std::string(1, c);
            ASSERT_TRUE(step(game, window, key.c_str())) << "typing " << c;
        }
    }

    // The panel's key tables once two shots in a row show them alike (the worker is not halfway
    // through drawing them) and `test` holds; empty when that does not come.
    static std::string steadyTables(GameProcess& game, const std::string& panel,
                                    const std::function<bool(const std::string&)>& test) {
        std::string previous, steady;
        Shot shot;
        e2e::waitFor(
            game, panel,
            [&](const Shot& s) {
                const std::string now = e2e::pixelsOf(s, kKeyTables);
                if (now == previous && e2e::count(s, kKeyTables, e2e::lit) > 300 && test(now))
                    steady = now;
                previous = now;
                return !steady.empty();
            },
            shot);
        return steady;
    }

    static void click(const std::string& window, int row) {
        e2e::xdotool("mousemove --window " + window + " " + rowPoint(row) + " click 1");
    }

    // Quit on the title screen (the last item, one up from the first) ends the game with 0.
    static void quitFromTitle(GameProcess& game, const std::string& title) {
        ASSERT_TRUE(step(game, title, "Up"));
        e2e::pressKey(title, "Return");
        e2e::expectCleanEnd(game);
    }

    testsupport::ScratchFolder home_{"menu"};
};

// Player 2's hand in the clip after roomclip's calibration: it comes in pointing at the first
// of the title's nine items, goes down to the second and closes to a rock for a second and a
// half, opens and leaves. Nothing then for long enough that the looping clip brings no hand
// back before the test ends.
std::string handScript() {
    // The menu shares rows 40 to 200 of the picture among the screen's items.
    const auto at = [](int x, int row) {
        return std::to_string(x) + "," + std::to_string(40 + (2 * row + 1) * 160 / 18);
    };
    const std::string lines[] = {
        "15 none | none",
        "20 none | paper " + at(80, 0) + " -> " + at(83, 0),
        "15 none | paper " + at(83, 0) + " -> " + at(80, 1),
        "10 none | paper " + at(80, 1) + " -> " + at(82, 1),
        "45 none | rock " + at(82, 1) + " -> " + at(84, 1),
        "10 none | paper " + at(84, 1),
        "450 none | none",
    };
    std::string script;
    for (const std::string& line : lines) script += line + "\n";
    return script;
}
// Where the rock closes and where the hand has left, in seconds from the clip's start (its two
// of calibration included).
constexpr double kRockSeconds = (60 + 15 + 20 + 15 + 10) / 30.0;
constexpr double kHandGoneSeconds = kRockSeconds + (45 + 10) / 30.0;

TEST_F(MenuEndToEnd, ACameraHandCalibratesGoesDownOneItemAndChoosesItWithARockHeldASecond) {
    const std::string roomclip = std::string(VORLAXIS_BIN_DIR) + "/tools/roomclip";
    if (!e2e::exists(roomclip)) GTEST_SKIP() << "roomclip is not built";
    const std::string folder = home_.path() + "/clip";
    std::ofstream(folder + ".script") << handScript();
    if (std::system((roomclip + " make --fps 30 --conditions lit --script " + folder + ".script " +
                     folder + " >/dev/null 2>&1")
                        .c_str()) != 0)
        GTEST_SKIP() << "roomclip could not make the clip (its photos missing?)";
    GameProcess game(environment(),
                     {"--menu", "--mute", "--no-record", "--camera", folder + "/lit.y4m"});
    ASSERT_TRUE(game.waitForOutput("Camera: clip ")) << game.err();
    const auto connected = std::chrono::steady_clock::now();
    std::string title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << game.err();

    // The guided calibration, told at the top of the title screen; the keys work meanwhile.
    Shot shot;
    EXPECT_TRUE(e2e::waitFor(
        game, title,
        [](const Shot& s) {
            return e2e::count(s, {0, 5, 800, 40}, amber) > 100;
        },
        shot))
        << "no calibration prompt";
    ASSERT_TRUE(game.waitForOutput("Room recognition: calibrated\n")) << game.out() << game.err();
    const std::string chosen = "Menu: \"Fight the computer\" chosen by hand\n";
    ASSERT_TRUE(game.waitForOutput(chosen)) << game.out() << game.err();
    std::printf("chosen about %lld ms after the rock closed in the clip\n",
                msSince(connected) - static_cast<long long>(kRockSeconds * 1000));

    // The level screen, "easy" highlighted: the rock kept after the choice chose nothing more.
    EXPECT_TRUE(e2e::waitFor(
        game, title,
        [](const Shot& s) {
            return !titleShown(s) && e2e::count(s, {30, 148, 770, 196}, amber) > 300 &&
                   e2e::count(s, {30, 198, 770, 282}, amber) < 20;
        },
        shot))
        << "not the level screen with easy highlighted";
    // The clip plays in real time from its connection. A hand still up would point at a row of
    // the title screen as soon as it opens: the keys take over once it has gone.
    testwait::waitUntil([&] { return msSince(connected) > kHandGoneSeconds * 1000 + 300; });
    // Easy, at the keyboard: the panel shows the keys where the camera's picture was.
    for (const char* key : {"Return", "Down", "Return"}) ASSERT_TRUE(step(game, title, key));
    const std::string panel = game.waitForWindow(e2e::kPanelCaption);
    const bool keysShown = e2e::waitFor(
        game, panel,
        [](const Shot& s) {
            return e2e::count(s, kKeyTables, e2e::lit) > 300 &&
                   e2e::count(s, kKeyTables, [](int r, int g, int b) { return r + g + b > 150; }) <
                       (kKeyTables.x1 - kKeyTables.x0) * (kKeyTables.y1 - kKeyTables.y0) / 4;
        },
        shot);
    EXPECT_TRUE(keysShown) << "the camera's picture still covers the keyboard run's key tables";
    e2e::pressKey(title, "Escape");
    title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << game.err();
    quitFromTitle(game, title);
    const std::string out = game.out();
    EXPECT_EQ(out.find(chosen), out.rfind(chosen)) << "chosen twice: " << out;
}

TEST_F(MenuEndToEnd, AComputerMatchChosenOnTheMenuReturnsToItAndItsReplayPlaysFromTheList) {
    const auto started = std::chrono::steady_clock::now();
    GameProcess game(environment(), {"--menu", "--mute"});
    const std::string window = game.waitForWindow(e2e::kSceneCaption);
    ASSERT_FALSE(window.empty()) << game.err();
    const long long windowMs = msSince(started);
    std::string title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << game.err();
    std::printf("fight window %lld ms after start, title screen %lld ms after the window\n",
                windowMs, msSince(started) - windowMs);
    Shot shot;
    ASSERT_TRUE(e2e::screenshot(title, shot));
    EXPECT_GT(e2e::count(shot, kFirstReason, dimRed), 40) << "no reason beside the camera item";

    // Without a camera the first item cannot be chosen: Enter leaves the title screen there.
    e2e::pressKey(title, "Return");
    for (const char* key : {"Down", "Return", "Return", "Down"})
        ASSERT_TRUE(step(game, title, key));
    e2e::pressKey(title, "Return");
    ASSERT_TRUE(waitForEasyMatch(game, title)) << "no CPU EASY badge; " << game.err();
    ASSERT_TRUE(game.waitForOutput("keeping this run's replay in "));

    e2e::pressKey(title, "Escape");
    title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << "no title screen after the match; " << game.err();

    // Watch a replay: the match just played heads the list; Enter plays it to its end, after
    // which the title screen comes back by itself.
    for (int row = 0; row < 5; ++row) ASSERT_TRUE(step(game, title, "Down"));
    ASSERT_TRUE(step(game, title, "Return"));
    ASSERT_TRUE(e2e::screenshot(title, shot));
    EXPECT_LT(e2e::count(shot, kQuitLabel, white), 10) << "the list still shows the title";
    e2e::pressKey(title, "Return");
    ASSERT_TRUE(game.waitForOutput(" matches watched")) << game.out() << game.err();
    const std::string out = game.out();
    const std::string kept = out.substr(out.find("keeping this run's replay in ") + 29);
    EXPECT_NE(out.find("replay " + kept.substr(0, kept.find('\n')) + ": "), std::string::npos)
        << "not the match just played: " << out;
    title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << "no title screen after the replay; " << game.err();
    EXPECT_EQ(game.err().find("replay "), std::string::npos) << game.err();

    quitFromTitle(game, title);
}

TEST_F(MenuEndToEnd, AGamepadAndAMouseClickStartRunsAndEscapeInThePanelEndsTheGame) {
    if (!e2e::exists(simpad::libraryPath())) GTEST_SKIP() << "no gamepad simulation built";
    // The stick down to "Fight the computer", button 0 twice (easy), the stick down twice to
    // "gamepad", button 0: player 1 on the pad against the easy computer.
    simpad::Pad pad("Simulated Menu Pad");
    pad.wait(20);
    for (int moves : {1, 0, 0, 2}) {
        for (int i = 0; i < moves; ++i) pad.axis(1, 32767).wait(3).axis(1, 0).wait(3);
        pad.tap(0).wait(5);
    }
    std::vector<std::string> env = environment();
    for (const std::string& entry : simpad::preloadEnvironment()) env.push_back(entry);
    env.push_back("VORLAXIS_PADSIM=" + simpad::script({pad}));
    GameProcess game(env, {"--menu", "--mute", "--no-record"});
    std::string title = game.waitForWindow(e2e::kSceneCaption);
    ASSERT_FALSE(title.empty()) << game.err();
    ASSERT_TRUE(waitForEasyMatch(game, title)) << "the pad did not start the match; " << game.err();
    e2e::pressKey(title, "Escape");
    title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << game.err();

    // Clicks on "Fight the computer" and "easy", each awaited, then on "keyboard".
    for (int row : {1, 0}) {
        Shot before, now;
        ASSERT_TRUE(e2e::screenshot(title, before));
        click(title, row);
        ASSERT_TRUE(e2e::waitFor(
            game, title,
            [&](const Shot& s) {
                return e2e::pixelsOf(s, kMenuRows) != e2e::pixelsOf(before, kMenuRows);
            },
            now))
            << "the click on row " << row << " changed nothing";
    }
    click(title, 1);
    ASSERT_TRUE(waitForEasyMatch(game, title)) << "the clicks did not start the match";

    e2e::pressKey(game.waitForWindow(e2e::kPanelCaption), "Escape");
    e2e::expectCleanEnd(game);
}

TEST_F(MenuEndToEnd, AFailedHostComesBackWithItsReasonAndJoiningThroughTheJoinScreenPlays) {
    GameProcess host(environment("820,300"),
                     {"--host", "0", "--keyboard", "--mute", "--no-record"});
    const std::string before = "waiting for a player on UDP port ";
    ASSERT_TRUE(host.waitForOutput(" (Escape cancels)")) << host.err();
    const std::string said = host.out();
    const int port = std::atoi(said.c_str() + said.find(before) + before.size());
    ASSERT_GT(port, 0) << said;

    const std::string hostScene = host.waitForWindow(e2e::kSceneCaption);
    ASSERT_FALSE(hostScene.empty()) << host.err();
    GameProcess game(environment(), {"--menu", "--mute", "--no-record"});
    std::string title = waitForTitle(game, hostScene);
    ASSERT_FALSE(title.empty()) << game.err();
    // Hosting on the port the other game holds fails at once: the title screen comes back with
    // the reason under its items.
    for (int row = 0; row < 3; ++row) ASSERT_TRUE(step(game, title, "Down"));
    ASSERT_TRUE(step(game, title, "Return"));
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(step(game, title, "BackSpace"));
    typeKeys(game, title, std::to_string(port));
    e2e::pressKey(title, "Return");
    Shot shot;
    EXPECT_TRUE(e2e::waitFor(
        game, title,
        [](const Shot& s) { return titleShown(s) && e2e::count(s, kNotice, orange) > 100; }, shot))
        << "no reason under the title's items; " << game.err();
    EXPECT_NE(game.err().find("cannot open UDP port " + std::to_string(port)), std::string::npos)
        << game.err();

    for (int row = 0; row < 4; ++row) ASSERT_TRUE(step(game, title, "Down"));
    ASSERT_TRUE(step(game, title, "Return"));
    const std::string address = "127.0.0.1:" + std::to_string(port);
    // A typo first, taken back with Backspace.
    typeKeys(game, title, address + "9");
    ASSERT_TRUE(step(game, title, "BackSpace"));
    // Enter, pressed again should a loaded machine's SDL have lost it: the screen must leave
    // the typed line.
    bool entered = false;
    for (int attempt = 0; attempt < 3 && !entered; ++attempt)
        entered = step(game, title, "Return");
    ASSERT_TRUE(entered) << "Enter on the Join screen started nothing; " << game.err();

    ASSERT_TRUE(host.waitForOutput("player 2 joined from 127.0.0.1"))
        << host.out() << "joiner: " << game.out() << game.err();
    ASSERT_TRUE(game.waitForOutput("connected to " + address)) << game.out() << game.err();
    EXPECT_TRUE(e2e::waitFor(
        game, title, [](const Shot& s) { return e2e::count(s, kNetLine, cyan) > 200; }, shot))
        << "no network line in the joiner's fight window";

    // Escape ends the joiner's match: the host hears that the other player left and ends;
    // the joiner comes back to the title screen.
    e2e::pressKey(title, "Escape");
    EXPECT_TRUE(host.waitForOutput("the other player left")) << host.out() << host.err();
    int status = -2;
    EXPECT_TRUE(host.wait(e2e::kReactSeconds, status));
    EXPECT_EQ(status, 0) << host.err();
    title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << game.err();
    quitFromTitle(game, title);
}

// A settings file written by hand: the Settings screen sets player 1's walk-left key to J by
// pressing it, which changes that one line; the panel's key table follows at once, and a
// keyboard match started from the menu afterwards shows the same table.
TEST_F(MenuEndToEnd, AKeySetOnTheSettingsScreenChangesItsLineOnlyAndHoldsForTheNextMatch) {
    const std::string folder = home_.path() + "/config/vorlaxis";
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/vorlaxis.conf";
    const std::string handWritten =
        "# my keys\n\n   player1.left   =   a   \nplayer2.rock=b\n\t# the arrows stay\n"
        "sparkles = on\nvolume = 100\n";
    std::ofstream(path, std::ios::binary) << handWritten;
    GameProcess game(environment(), {"--menu", "--mute", "--no-record"});
    std::string title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << game.err();
    const std::string panel = game.waitForWindow(e2e::kPanelCaption);
    ASSERT_FALSE(panel.empty()) << game.err();
    const std::string before = steadyTables(game, panel, [](const std::string&) { return true; });
    ASSERT_FALSE(before.empty()) << "no key tables in the panel during the menu";

    // Settings, Enter on "Player 1 left", J.
    for (int row = 0; row < 7; ++row) ASSERT_TRUE(step(game, title, "Down"));
    for (const char* key : {"Return", "Return", "j"}) ASSERT_TRUE(step(game, title, key));
    std::string wanted = handWritten;
    wanted.replace(wanted.find("   player1.left   =   a   "), 26, "player1.left = j");
    EXPECT_TRUE(testwait::waitUntil([&] { return fileText(path) == wanted; }, e2e::kReactSeconds,
                                    std::chrono::milliseconds(100)))
        << fileText(path);
    const std::string changed =
        steadyTables(game, panel, [&](const std::string& now) { return now != before; });
    EXPECT_FALSE(changed.empty()) << "the panel's key table did not follow the new key";

    // Back to the title, "Two players at the keyboard": the match's panel shows the new key.
    ASSERT_TRUE(step(game, title, "Escape"));
    for (int row = 0; row < 2; ++row) ASSERT_TRUE(step(game, title, "Down"));
    e2e::pressKey(title, "Return");
    Shot shot;
    EXPECT_TRUE(e2e::waitFor(
        game, title, [](const Shot& s) { return !titleShown(s); }, shot))
        << "the keyboard match did not start";
    EXPECT_FALSE(
        steadyTables(game, panel, [&](const std::string& now) { return now == changed; }).empty())
        << "the match's panel does not show the key set in the menu";
    e2e::pressKey(title, "Escape");
    title = waitForTitle(game);
    ASSERT_FALSE(title.empty()) << game.err();
    quitFromTitle(game, title);
    EXPECT_EQ(fileText(path), wanted);
}

}  // namespace
