// Replays written as the game writes them and followed through the rules again: every
// checkpoint agrees over knock-outs, rematches and endless runs; a record altered where input
// counts shows at the first checkpoint after it; a file cut at any byte plays every whole turn
// it holds; a damaged one says where and what.
#include <gtest/gtest.h>

#include "replay_runs.h"

namespace {

using replaytest::checkBytes;
using replaytest::recordFight;

size_t headerLength(const std::string& bytes) {
    play::ReplayHeader header;
    std::string problem;
    bool needMore = false;
    return play::decodeHeader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), header,
                              problem, needMore);
}

TEST(ReplayTest, RunsOfSeveralMatchesAndEndlessRunsCheckOutAtEveryCheckpoint) {
    for (bool endless : {false, true}) {
        const replaytest::Recording run = recordFight(6000, endless, 7);
        EXPECT_GE(run.knockOuts, endless ? 0 : 3);
        const replaytest::Check check = checkBytes(run.bytes);
        EXPECT_EQ(check.problem, "");
        EXPECT_EQ(check.difference, -1);
        EXPECT_FALSE(check.cutShort);
        EXPECT_EQ(check.turns, 6000);
        EXPECT_EQ(check.agreed, 6000 / 60 + 1);
        EXPECT_EQ(check.matches, run.knockOuts);
        EXPECT_EQ(check.finalHash, run.finalHash);
        // Two bytes a turn and the checkpoints: about 2.3 bytes a turn with the header.
        EXPECT_LT(run.bytes.size(), 6000u * 5 / 2);
    }
}

TEST(ReplayTest, ARecordAlteredWhereInputCountsShowsAtTheFirstCheckpointAfterIt) {
    int64_t altered = -1;
    const replaytest::Recording run =
        recordFight(3000, false, 11, replaytest::walkChangedOnce(1000, altered));
    ASSERT_GT(altered, 0);
    const int64_t firstCheckpointAfter = (altered + 59) / 60 * 60;
    const replaytest::Check check = checkBytes(run.bytes);
    EXPECT_EQ(check.difference, firstCheckpointAfter) << "altered turn " << altered;
    EXPECT_EQ(check.agreed, firstCheckpointAfter / 60);
}

TEST(ReplayTest, AFileCutAtAnyBytePlaysEveryWholeTurnItHolds) {
    const replaytest::Recording run = recordFight(800, false, 5);
    ASSERT_GE(run.knockOuts, 1);
    const size_t header = headerLength(run.bytes);
    ASSERT_GT(header, 0u);
    int64_t turnsBefore = 0;
    for (size_t size = 0; size < run.bytes.size(); ++size) {
        const replaytest::Check check = checkBytes(run.bytes.substr(0, size));
        if (size < header) {
            EXPECT_EQ(check.problem, size == 0 ? "is empty" : "is cut short in its header");
            continue;
        }
        ASSERT_EQ(check.problem, "") << "cut at " << size;
        EXPECT_TRUE(check.cutShort);
        EXPECT_EQ(check.difference, -1) << "cut at " << size;
        EXPECT_GE(check.turns, turnsBefore);
        EXPECT_LE(check.turns, (static_cast<int64_t>(size - header) + 1) / 2);
        turnsBefore = check.turns;
    }
    EXPECT_GE(turnsBefore, 799);
    EXPECT_FALSE(checkBytes(run.bytes).cutShort);
}

TEST(ReplayTest, DamagedFilesSayWhereAndWhatIsWrong) {
    const std::string good = recordFight(130, false, 3).bytes;
    const size_t header = headerLength(good);
    const size_t firstTurn = header + 2 + play::kCheckpointBytes;
    const size_t checkpoint60 = firstTurn + 60 * 2;
    auto changed = [&](size_t at, const std::string& bytes) {
        std::string copy = good;
        return copy.replace(at, bytes.size(), bytes);
    };
    auto erased = [&](size_t at, size_t count) { return std::string(good).erase(at, count); };
    const std::string damagedAt = "is damaged at byte ";
    const std::pair<std::string, std::string> cases[] = {
        {"hello, world", "is not a replay"},
        {changed(8, "\x02"), "has format version 2; this game reads version 1"},
        {changed(12 + 8, "\x55"), "has a damaged header (its checksum does not match)"},
        {changed(firstTurn + 1, "\x40"),
         damagedAt + std::to_string(firstTurn) + ": a turn has input bits that no record uses"},
        {changed(firstTurn + 1, "\x18"),
         damagedAt + std::to_string(firstTurn) + ": a turn has an unknown camera switch"},
        {changed(firstTurn, std::string("\x09\x80", 2)),
         damagedAt + std::to_string(firstTurn) + ": it holds a record of unknown kind"},
        {erased(checkpoint60, 2 + play::kCheckpointBytes),
         damagedAt + std::to_string(checkpoint60) + ": the checkpoint after turn 60 is missing"},
        {changed(checkpoint60 + 2, "\x3b"),
         damagedAt + std::to_string(checkpoint60) + ": a mark is numbered out of turn"},
        {good + "x", damagedAt + std::to_string(good.size() - 2 - play::kRunEndBytes) +
                         ": there is more after the end of the run"},
    };
    for (const auto& [bytes, problem] : cases) EXPECT_EQ(checkBytes(bytes).problem, problem);
}

TEST(ReplayTest, TheHeaderComesBackAsWrittenWithLongTextsCut) {
    play::ReplayHeader header;
    header.gameVersion = "1.2.3";
    header.dataFingerprint = 0x0123456789abcdefull;
    header.seed = ~0ull;
    header.rulesRandom = 42;
    header.turnRate = 1000;
    header.endless = true;
    header.source1 = "computer:hard";
    header.source2 = std::string(100, 'k');
    const std::string bytes = play::encodeHeader(header);
    play::ReplayHeader back;
    std::string problem;
    bool needMore = false;
    ASSERT_EQ(play::decodeHeader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), back,
                                 problem, needMore),
              bytes.size())
        << problem;
    header.source2.resize(play::kReplayTextMax);
    EXPECT_TRUE(back == header);
}

}  // namespace
