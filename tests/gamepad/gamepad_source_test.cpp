#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "match/World.h"
#include "play/gamepad_source.h"
#include "tests/support/scoped_env.h"
#include "tests/gamepad/sim_gamepad.h"
#include "tests/support/wait.h"

namespace {

const bool kPreloaded = simpad::restartWithSimulation();

using play::GamepadSource;
using simpad::Pad;
using testsupport::ScopedEnv;

// The turns' records, each polled from the pads alone.
std::vector<TurnInput> playTurns(GamepadSource& pads, int turns) {
    std::vector<TurnInput> inputs(turns);
    for (TurnInput& input : inputs) pads.poll(input);
    return inputs;
}

// A player's walking turn by turn, runs of the same kept once: "R.L" walked right, stood,
// walked left.
std::string walking(const std::vector<TurnInput>& turns, int player) {
    std::string runs;
    for (const TurnInput& in : turns) {
        const bool left = player == 1 ? in.left1 : in.left2;
        const bool right = player == 1 ? in.right1 : in.right2;
        const char c = left && right ? '?' : left ? 'L' : right ? 'R' : '.';
        if (runs.empty() || runs.back() != c) runs += c;
    }
    return runs;
}

std::vector<int> signs(const std::vector<TurnInput>& turns, int player) {
    std::vector<int> shown;
    for (const TurnInput& in : turns)
        if (int sign = player == 1 ? in.sign1 : in.sign2) shown.push_back(sign);
    return shown;
}

void openFor(GamepadSource& pads, std::initializer_list<int> players) {
    for (int player : players) pads.drive(player, true);
    std::string error;
    ASSERT_TRUE(pads.open(error)) << error;
}

TEST(GamepadSource, WalksWhileTheStickBeyondTheDeadZoneOrTheCrossIsHeld) {
    ASSERT_TRUE(kPreloaded);
    Pad pad("Walker");
    pad.axis(0, 20000).wait(4).step("axis:0=5000+hat:0=-1,0").wait(4).step("hat:0=0,0");
    pad.wait(3).axis(0, -30000).wait(2).axis(1, 30000).wait(2).axis(0, 0);
    ScopedEnv sim("VORLAXIS_PADSIM", simpad::script({pad}));
    GamepadSource pads;
    openFor(pads, {1});
    const std::vector<TurnInput> turns = playTurns(pads, 40);
    EXPECT_EQ(walking(turns, 1), "RL.L.");
    EXPECT_EQ(walking(turns, 2), ".");  // no pad drives player 2
}

TEST(GamepadSource, ShowsASignOnEachPressOfItsButtonAndPausesOnStart) {
    ASSERT_TRUE(kPreloaded);
    Pad pad("Signer");
    pad.tap(0).wait(2).tap(1, 4).wait(2).step("down:2+up:2").wait(1).tap(2).tap(5).tap(7).wait(2);
    ScopedEnv sim("VORLAXIS_PADSIM", simpad::script({pad}));
    GamepadSource pads;
    pads.setPad(2, 0);
    openFor(pads, {2});
    int pauses = 0;
    std::vector<TurnInput> turns;
    for (int turn = 0; turn < 40; ++turn) {
        turns.push_back(playTurns(pads, 1)[0]);
        pauses += pads.takePauseButton();
    }
    // Held for four passes, paper is still one sign; a press and release within one pass
    // still counts. Buttons 5 and 7 show nothing.
    EXPECT_EQ(signs(turns, 2),
              (std::vector<int>{World::ROCK, World::PAPER, World::SCISSORS, World::SCISSORS}));
    EXPECT_TRUE(signs(turns, 1).empty());
    EXPECT_EQ(pauses, 1);
}

TEST(GamepadSource, TwoPadsDriveTheirPlayersAsTheSettingsSayThroughTheRecount) {
    ASSERT_TRUE(kPreloaded);
    Pad first("First Pad");
    first.axis(0, -32767).tap(0).wait(10).tap(2);
    Pad second("Second Pad", 4, 16, 0);
    second.axis(0, 32767).tap(1).wait(10).tap(0);
    ScopedEnv sim("VORLAXIS_PADSIM", simpad::script({first, second}));
    GamepadSource pads;
    pads.setPad(1, 1);
    pads.setPad(2, 0);
    openFor(pads, {1, 2});
    std::vector<TurnInput> turns = playTurns(pads, 5);
    // The sticks are held through the recount: SDL's own readings start again from the
    // middle, and nothing new comes from a stick that does not move.
    testing::internal::CaptureStderr();
    pads.recount();
    const std::vector<TurnInput> after = playTurns(pads, 20);
    turns.insert(turns.end(), after.begin(), after.end());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(walking(turns, 1), "R");
    EXPECT_EQ(walking(turns, 2), "L");
    EXPECT_EQ(signs(turns, 1), (std::vector<int>{World::PAPER, World::ROCK}));
    EXPECT_EQ(signs(turns, 2), (std::vector<int>{World::ROCK, World::SCISSORS}));
}

size_t openDescriptors() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                             std::filesystem::directory_iterator()));
}

TEST(GamepadSource, CountingThePadsAgainKeepsNoDeviceOpenTwice) {
    ASSERT_TRUE(kPreloaded);
    ScopedEnv sim("VORLAXIS_PADSIM", simpad::script({Pad("Left Pad"), Pad("Right Pad")}));
    GamepadSource pads;
    openFor(pads, {1, 2});
    const size_t before = openDescriptors();
    for (int count = 0; count < 20; ++count) pads.recount();
    EXPECT_EQ(openDescriptors(), before);
}

TEST(GamepadSource, APadUnpluggedMidMatchLeavesItsPlayerStandingAndTheOtherPlaying) {
    ASSERT_TRUE(kPreloaded);
    Pad first("Pad One");
    first.axis(0, 32767).wait(3).unplug();
    // Pressed well after the recount: the wait below polls at most a pass every 10 ms.
    Pad second("Pad Two");
    second.axis(0, -32767).wait(400).tap(2);
    ScopedEnv sim("VORLAXIS_PADSIM", simpad::script({first, second}));
    GamepadSource pads;
    openFor(pads, {1, 2});
    std::vector<TurnInput> turns = playTurns(pads, 8);
    // SDL keeps the gone pad's last reading until the pads are counted again.
    EXPECT_EQ(walking(turns, 1), "R");
    testing::internal::CaptureStderr();
    int polled = 0;
    ASSERT_TRUE(testwait::waitUntil(
        [&] {
            ++polled;
            return !playTurns(pads, 1)[0].right1;
        },
        testwait::kPatienceSeconds, std::chrono::milliseconds(10)));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vorlaxis: gamepad 'Pad One' is gone: player 1 stands still\n");
    // The second pad is now SDL's first, and still player 2's.
    ASSERT_LT(polled, 400);
    turns = playTurns(pads, 420 - polled);
    EXPECT_EQ(walking(turns, 1), ".");
    EXPECT_EQ(walking(turns, 2), "L");
    EXPECT_EQ(signs(turns, 2), std::vector<int>{World::SCISSORS});
}

TEST(GamepadSource, SaysWhichPlayersPadIsMissing) {
    ASSERT_TRUE(kPreloaded);
    ScopedEnv sim("VORLAXIS_PADSIM", simpad::script({Pad("Only Pad")}));
    GamepadSource pads;
    pads.drive(1, true);
    pads.drive(2, true);
    std::string error;
    EXPECT_FALSE(pads.open(error));
    EXPECT_EQ(error, "no gamepad 1 for player 2 (1 found; --list-gamepads lists them)");
}

}  // namespace
