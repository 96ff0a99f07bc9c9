// Runs recorded as they are played and played again: a camera match from a clip and a
// keyboard match with keys sent to the fight window, each to a knock-out, then checked with
// no windows, every checkpoint agreeing; the keyboard one then watched in both windows to the
// recorded knock-out, ending by itself. A killed game leaves every turn it had flushed, and
// the file checks out as cut short. An endless run played with no --record is kept, and
// `--replay last` finds it and checks it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "play/replay_reader.h"
#include "tests/e2e/screen.h"
#include "tests/support/scratch_folder.h"

namespace {

using e2e::GameProcess;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kFightSeconds = 300;  // instrumented builds play fewer turns a second
#else
constexpr int kFightSeconds = 120;
#endif

// The hands lean in until the fighters meet, then trade new paper and scissors signs.
const char* const kScript =
    "fps 15\n"
    "15  rock 80,120                | rock 80,120\n"
    "40  rock 40,120                | rock 120,120\n"
    "12  paper 80,115               | scissors 80,120\n"
    "12  scissors 80,120            | scissors 80,120\n"
    "12  paper 80,115               | paper 80,115\n"
    "12  scissors 80,120            | scissors 80,120\n";

const std::vector<std::string> kEnvironment = {"SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1",
                                               "SDL_VIDEO_WINDOW_POS=0,300"};

// The whole turns a replay holds so far.
int64_t turnsIn(const std::string& path) {
    play::ReplayReader reader;
    if (!reader.open(path)) return 0;
    play::ReplayItem item;
    while ((item = reader.next()).kind < play::ReplayItem::RUN_END) {
    }
    return item.turn;
}

// The knock-outs a replay holds so far (the game writes it as it plays).
int knockOutsIn(const std::string& path) {
    play::ReplayReader reader;
    if (!reader.open(path)) return 0;
    int count = 0;
    for (play::ReplayItem item = reader.next(); item.kind <= play::ReplayItem::RUN_END;
         item = reader.next()) {
        count += item.kind == play::ReplayItem::MATCH_END;
        if (item.kind == play::ReplayItem::RUN_END) break;
    }
    return count;
}

// The turn a watched replay said it was `what` ("paused", "resumed") at; -1 before it did.
int64_t saidTurn(GameProcess& watch, const std::string& what) {
    const std::string out = watch.out();
    const size_t at = out.find(": " + what + " at turn ");
    if (at == std::string::npos || out.find('\n', at) == std::string::npos) return -1;
    return std::stoll(out.substr(at + what.size() + 11));
}

// `--replay path --simulate`: its exit code and what it printed.
std::pair<int, std::string> check(const std::string& path) {
    GameProcess checking({}, {"--replay", path, "--simulate"});
    int status = -2;
    EXPECT_TRUE(checking.wait(e2e::kReactSeconds, status)) << "the check did not end";
    return {status, checking.out() + checking.err()};
}

class ReplayEndToEnd : public e2e::ClipTest {
protected:
    const char* script() const override { return kScript; }

    void keys(const std::string& command) { e2e::capture("xdotool " + command + " 2>/dev/null"); }

    // Plays until the replay being written holds a knock-out, running `between` meanwhile.
    bool playToKnockOut(GameProcess& game, const std::function<void()>& between = {}) {
        return testwait::waitUntil(
            [&] {
                if (between) between();
                return !game.running() || knockOutsIn(replay_) >= 1;
            },
            kFightSeconds, std::chrono::milliseconds(150));
    }

    void endWithEscape(GameProcess& game, const std::string& scene) {
        keys("key --window " + scene + " Escape");
        e2e::expectCleanEnd(game);
    }

    void expectChecksOut() {
        const auto [status, out] = check(replay_);
        EXPECT_EQ(status, 0) << out;
        EXPECT_NE(out.find(" 1 match, "), std::string::npos) << out;
        EXPECT_NE(out.find(" checkpoints agree, final state "), std::string::npos) << out;
    }

    testsupport::ScratchFolder folder_{"e2e-replay"};
    const std::string replay_ = folder_.file("run.vxr");
};

TEST_F(ReplayEndToEnd, ACameraMatchIsRecordedAndChecksOut) {
    GameProcess game(kEnvironment, {"--camera", clip_, "--mute", "--record", replay_});
    const std::string scene = game.waitForWindow("Vorlaxis");
    ASSERT_FALSE(scene.empty()) << game.err();
    ASSERT_TRUE(playToKnockOut(game)) << "no knock-out recorded; stderr: " << game.err();
    endWithEscape(game, scene);
    expectChecksOut();
}

TEST_F(ReplayEndToEnd, AKeyboardMatchIsRecordedThenWatchedToItsKnockOut) {
    {
        GameProcess game(kEnvironment, {"--keyboard", "--mute", "--record", replay_});
        const std::string scene = game.waitForWindow("Vorlaxis");
        ASSERT_FALSE(scene.empty()) << game.err();
        // Player 1 charges with scissors and, once the charge is full, releases it with rock:
        // each ranged attack that lands takes 20 of player 2's life. Each key waits for the
        // turns its move takes, counted in the recording, so a slow machine sends no more keys
        // and none of them lands in a move that ignores it.
        constexpr int64_t kChargeTurns = 30, kReleaseTurns = 90;
        int64_t due = kChargeTurns;
        bool charged = false;
        ASSERT_TRUE(playToKnockOut(game,
                                   [&] {
                                       const int64_t turn = turnsIn(replay_);
                                       if (turn < due) return;
                                       keys("key --window " + scene + (charged ? " z" : " c"));
                                       due = turn + (charged ? kReleaseTurns : kChargeTurns);
                                       charged = !charged;
                                   }))
            << "no knock-out recorded; stderr: " << game.err();
        endWithEscape(game, scene);
    }
    expectChecksOut();

    // Watched: both windows, no camera; P pauses and Space resumes at the same turn, and the
    // replay ends by itself once the run is played out.
    GameProcess watch(kEnvironment, {"--replay", replay_, "--mute"});
    EXPECT_FALSE(watch.waitForWindow("Vorlaxis - control panel").empty()) << watch.err();
    const std::string scene = e2e::findWindow("Vorlaxis");
    ASSERT_FALSE(scene.empty());
    keys("key --window " + scene + " p");
    EXPECT_TRUE(testwait::waitUntil([&] { return saidTurn(watch, "paused") >= 0; }));
    // A shot of the paused scene takes a good part of a second: turns would pass meanwhile.
    e2e::Shot paused;
    EXPECT_TRUE(e2e::screenshot(scene, paused));
    keys("key --window " + scene + " space");
    EXPECT_TRUE(testwait::waitUntil([&] { return saidTurn(watch, "resumed") >= 0; }));
    EXPECT_EQ(saidTurn(watch, "resumed"), saidTurn(watch, "paused")) << watch.out();
    int status = -2;
    ASSERT_TRUE(watch.wait(kFightSeconds, status)) << "the replay did not end by itself";
    EXPECT_EQ(status, 0) << watch.err();
    EXPECT_NE(watch.out().find(" 1 matches watched"), std::string::npos) << watch.out();
    EXPECT_EQ(watch.err().find("differs"), std::string::npos) << watch.err();
}

TEST_F(ReplayEndToEnd, AKilledGameLeavesAReplayCutShortThatChecksOut) {
    GameProcess game(kEnvironment, {"--camera", clip_, "--mute", "--record", replay_});
    ASSERT_TRUE(testwait::waitUntil([&] { return !game.running() || turnsIn(replay_) >= 200; },
                                    kFightSeconds))
        << game.err();
    game.signal(SIGKILL);
    int killed = 0;
    ASSERT_TRUE(game.wait(e2e::kReactSeconds, killed));
    const int64_t kept = turnsIn(replay_);
    EXPECT_GE(kept, 200);
    const auto [status, out] = check(replay_);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("cut short: it ends after turn " + std::to_string(kept)), std::string::npos)
        << out;
}

TEST_F(ReplayEndToEnd, AnEndlessRunIsKeptAndLastFindsIt) {
    const std::vector<std::string> environment = {
        "SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1", "XDG_DATA_HOME=" + folder_.path()};
    GameProcess game(environment, {"--keyboard", "--mute", "--endless"});
    const std::string scene = game.waitForWindow("Vorlaxis");
    ASSERT_FALSE(scene.empty()) << game.err();
    const std::string kept = folder_.path() + "/vorlaxis/replays/";
    EXPECT_TRUE(
        game.waitForOutput("keeping this run's replay in " + kept, testwait::kPatienceSeconds))
        << game.out();
    endWithEscape(game, scene);

    GameProcess checking(environment, {"--replay", "last", "--simulate"});
    int status = -2;
    ASSERT_TRUE(checking.wait(e2e::kReactSeconds, status));
    EXPECT_EQ(status, 0) << checking.err();
    EXPECT_EQ(checking.out().rfind("replay " + kept, 0), 0u) << checking.out();
    EXPECT_NE(checking.out().find(" 0 matches, "), std::string::npos) << checking.out();
}

// Two computer players in --simulate, several matches with their endings and rematches: the
// recording checks out and ends on the same state the run printed its tally after.
TEST(ReplayOfSimulation, SeveralComputerMatchesAreRecordedAndCheckOut) {
    const std::string path = testsupport::scratchPath("e2e-replay", ".vxr");
    GameProcess run({}, {"--simulate", "--player1=computer:hard", "--player2=computer:easy",
                         "--matches", "3", "--seed", "11", "--record", path});
    int status = -2;
    ASSERT_TRUE(run.wait(e2e::kReactSeconds, status));
    ASSERT_EQ(status, 0) << run.err();
    EXPECT_NE(run.out().find("match 3: "), std::string::npos) << run.out();
    const auto [code, said] = check(path);
    EXPECT_EQ(code, 0) << said;
    EXPECT_NE(said.find(" 3 matches, "), std::string::npos) << said;
    EXPECT_NE(said.find(" checkpoints agree, final state "), std::string::npos) << said;
    std::remove(path.c_str());
}

// What a replay check says after the file's name: turns, matches, checkpoints, final state.
std::string verdictOf(const std::string& said) {
    const size_t colon = said.find(": ");
    return colon == std::string::npos ? said : said.substr(colon + 2);
}

// One seeded computer match played with no window, in the windows (as fast as they draw),
// and checked from each recording: every mode takes the same turns and ends in one state.
TEST_F(ReplayEndToEnd, OneSeededComputerMatchEndsInTheSameStateWithOrWithoutWindows) {
    const std::vector<std::string> match = {
        "--player1=computer:hard", "--player2=computer:easy", "--seed", "23", "--matches", "1"};
    const auto play = [&](std::vector<std::string> args, const std::string& path) {
        args.insert(args.end(), match.begin(), match.end());
        args.insert(args.end(), {"--record", path});
        GameProcess run(kEnvironment, args);
        int status = -2;
        EXPECT_TRUE(run.wait(kFightSeconds, status)) << "the run did not end by itself";
        EXPECT_EQ(status, 0) << run.err();
        const std::string out = run.out();
        const size_t line = std::min(out.find("match 1: "), out.size());
        return out.substr(line, out.find('\n', line) - line);
    };
    const std::string windowless = folder_.file("windowless.vxr");
    const std::string windowed = folder_.file("windowed.vxr");
    const std::string lines = play({"--simulate"}, windowless);
    EXPECT_EQ(play({"--mute", "--turn-rate", "0"}, windowed), lines);
    const auto [code, said] = check(windowless);
    EXPECT_EQ(code, 0) << said;
    EXPECT_NE(said.find(" 1 match, "), std::string::npos) << said;
    EXPECT_EQ(verdictOf(check(windowed).second), verdictOf(said));
}

}  // namespace
