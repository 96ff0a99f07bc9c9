// Playing against the computer, as a whole program: --simulate needs no display and refuses a
// side on a device before anything starts; the same seed plays the same matches; with windows
// a person who does nothing is knocked out by the easy computer, one who walks in and punches
// knocks it out, and a computer match with --matches ends by itself after its line.
#include <gtest/gtest.h>

#include <sstream>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/screen.h"

namespace {

using e2e::Area;
using e2e::count;
using e2e::GameProcess;

using e2e::Outcome;
using e2e::runWithoutDisplay;

// The lines "match K: ... after T turns" of the game's output, whole lines only.
std::vector<std::string> matchLines(const std::string& out) {
    std::istringstream in(out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line) && !in.eof();)
        if (line.rfind("match ", 0) == 0 && line.size() > 6 &&
            line.compare(line.size() - 6, 6, " turns") == 0)
            lines.push_back(line);
    return lines;
}

// T of "match K: ... after T turns".
int turnsOf(const std::string& line) {
    const size_t after = line.rfind(" after ");
    return after == std::string::npos ? -1 : std::atoi(line.c_str() + after + 7);
}

class SimulateEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::exists(e2e::gamePath())) GTEST_SKIP() << e2e::gamePath() << " is not built";
    }
};

TEST_F(SimulateEndToEnd, TheSeedPlaysTheSameMatchesAndAnotherSeedOthers) {
    const std::vector<std::string> args = {"--simulate", "--player1",     "computer:hard",
                                           "--player2",  "computer:easy", "--matches",
                                           "3",          "--seed"};
    auto run = [&](const char* seed) {
        std::vector<std::string> withSeed = args;
        withSeed.push_back(seed);
        return runWithoutDisplay(withSeed);
    };
    const Outcome first = run("42");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out.rfind("seed 42\n", 0), 0u) << first.out;
    const std::vector<std::string> lines = matchLines(first.out);
    ASSERT_EQ(lines.size(), 3u) << first.out;
    EXPECT_EQ(lines[0].rfind("match 1: ", 0), 0u);
    EXPECT_NE(first.out.find("\nplayer 1 "), std::string::npos) << first.out;
    EXPECT_EQ(first.err, "");

    EXPECT_EQ(run("42").out, first.out);
    EXPECT_NE(matchLines(run("43").out), lines);
}

TEST_F(SimulateEndToEnd, ASideOnADeviceIsRefusedWithExitCode2BeforeAnyWindow) {
    // No display: any window would have failed with a message of its own.
    const Outcome camera =
        runWithoutDisplay({"--simulate", "--player1", "computer", "--matches", "2"});
    EXPECT_EQ(camera.status, 2);
    EXPECT_EQ(camera.err.rfind("vorlaxis: option '--simulate' opens no window or camera, but "
                               "player 2 plays on the camera",
                               0),
              0u)
        << camera.err;
    EXPECT_EQ(camera.out, "");

    const Outcome endless =
        runWithoutDisplay({"--computer", "--keyboard", "--matches=2", "--endless"});
    EXPECT_EQ(endless.status, 2);
    EXPECT_NE(endless.err.find("'--matches' and '--endless' exclude each other"),
              std::string::npos);
}

// The CPU badges: red "CPU HARD" under player 1's bar, green "CPU EASY" under player 2's.
constexpr Area kBadge[2] = {{185, 102, 255, 122}, {665, 102, 735, 122}};
bool hardRed(int r, int g, int b) { return r > 150 && g < 110 && b < 100; }
bool easyGreen(int r, int g, int b) { return g > 150 && r < 160 && b < 160; }

class ComputerEndToEnd : public e2e::DisplayTest {
protected:
    // The game's first match line, once it has one; waits at most `seconds`.
    std::string firstMatchLine(GameProcess& game, int seconds) {
        std::vector<std::string> lines;
        testwait::waitUntil([&] { return !(lines = matchLines(game.out())).empty(); }, seconds,
                            std::chrono::milliseconds(200));
        return lines.empty() ? "" : lines[0];
    }

    void keys(const std::string& command) { e2e::capture("xdotool " + command + " 2>/dev/null"); }

    GameProcess startAgainstEasy() {
        return GameProcess({"SDL_AUDIODRIVER", "VORLAXIS_CAMERA", "LIBGL_ALWAYS_SOFTWARE=1",
                            "SDL_VIDEO_WINDOW_POS=0,300"},
                           {"--keyboard", "--computer=easy", "--mute", "--seed", "3"});
    }
};

TEST_F(ComputerEndToEnd, AComputerMatchWithMatchesEndsByItselfAfterItsLine) {
    GameProcess game(
        {"SDL_AUDIODRIVER", "VORLAXIS_CAMERA", "LIBGL_ALWAYS_SOFTWARE=1",
         "SDL_VIDEO_WINDOW_POS=0,300"},
        {"--player1", "computer:hard", "--player2", "computer:easy", "--matches", "1", "--mute"});
    ASSERT_FALSE(game.waitForWindow("Vorlaxis - control panel").empty()) << game.err();
    const std::string scene = game.waitForWindow("Vorlaxis");
    ASSERT_FALSE(scene.empty()) << game.err();
    e2e::Shot shot;
    EXPECT_TRUE(testwait::waitUntil([&] {
        return e2e::screenshot(scene, shot) && shot.width >= 800 &&
               count(shot, kBadge[0], hardRed) > 40 && count(shot, kBadge[1], easyGreen) > 40;
    })) << "no CPU HARD and CPU EASY badges";

    int status = -2;
    ASSERT_TRUE(game.wait(e2e::kStartSeconds + 120, status)) << "the game did not end by itself";
    EXPECT_EQ(status, 0) << game.err();
    EXPECT_EQ(matchLines(game.out()).size(), 1u) << game.out();
    EXPECT_NE(game.out().find("seed "), std::string::npos);
}

// A player who does nothing is knocked out within 90 s of steady turns.
TEST_F(ComputerEndToEnd, ThePlayerWhoDoesNothingIsKnockedOutByTheEasyComputer) {
    GameProcess game = startAgainstEasy();
    ASSERT_FALSE(game.waitForWindow("Vorlaxis").empty()) << game.err();
    const std::string line = firstMatchLine(game, 240);
    ASSERT_EQ(line.rfind("match 1: player 2 wins after ", 0), 0u)
        << "'" << line << "'; " << game.out();
    EXPECT_LE(turnsOf(line), 90 * 60) << line;
    game.signal(SIGTERM);
}

TEST_F(ComputerEndToEnd, APlayerWhoWalksInAndPunchesKnocksTheEasyComputerOut) {
    GameProcess game = startAgainstEasy();
    const std::string scene = game.waitForWindow("Vorlaxis");
    ASSERT_FALSE(scene.empty()) << game.err();
    keys("keydown --window " + scene + " d");
    // The view closes in as the gap shrinks: player 2 grows on screen until they meet. A sign
    // shown at range would start a charge instead of a punch.
    const e2e::Area whole = {0, 0, 800, 600};
    e2e::Shot shot;
    int farAway = 0, previous = -1000;
    ASSERT_TRUE(testwait::waitUntil(
        [&] {
            if (!e2e::screenshot(scene, shot) || shot.width < 800) return false;
            const int now = count(shot, whole, e2e::fighterRed);
            if (farAway == 0) farAway = now;
            const bool steady = std::abs(now - previous) < now / 20;
            previous = now;
            return farAway > 300 && steady && 2 * now > 3 * farAway;
        },
        e2e::kStartSeconds, std::chrono::milliseconds(200)))
        << "the fighters never met";
    // Scissors and paper in turn, a new sign each time, at a person's pace.
    bool scissors = true;
    std::vector<std::string> lines;
    testwait::waitUntil(
        [&] {
            keys(std::string("key --window ") + scene + (scissors ? " c" : " x"));
            scissors = !scissors;
            return !(lines = matchLines(game.out())).empty();
        },
        240, std::chrono::milliseconds(300));
    keys("keyup --window " + scene + " d");
    ASSERT_FALSE(lines.empty()) << "no knock-out; " << game.out();
    EXPECT_EQ(lines[0].rfind("match 1: player 1 wins", 0), 0u) << lines[0];
    game.signal(SIGTERM);
}

}  // namespace
