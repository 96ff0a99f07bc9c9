// Checking a replay file as `--replay FILE --simulate` does: the verdict line and the exit
// code for a run that agrees, one cut short, one altered, and files it cannot check.
#include <gtest/gtest.h>

#include <cinttypes>

#include "app/replay/replay_check.h"
#include "tests/play/replay_runs.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/working_folder.h"

namespace {

struct Verdict {
    int code;
    std::string out;
    std::string err;
};

class ReplayCheckTest : public ::testing::Test {
protected:
    Verdict check(const std::string& bytes) {
        folder_.write("run.vxr", bytes);
        const testsupport::WorkingFolder data(testsupport::dataFolder());
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int code = checkReplay("run.vxr", folder_.file("run.vxr"));
        std::fflush(stdout);
        std::string out = testing::internal::GetCapturedStdout();
        return {code, out, testing::internal::GetCapturedStderr()};
    }

    // The same turns under another header.
    static std::string withHeader(const std::string& bytes,
                                  const std::function<void(play::ReplayHeader&)>& change) {
        play::ReplayHeader header;
        std::string problem;
        bool needMore = false;
        const size_t length = play::decodeHeader(reinterpret_cast<const uint8_t*>(bytes.data()),
                                                 bytes.size(), header, problem, needMore);
        change(header);
        return play::encodeHeader(header) + bytes.substr(length);
    }

    testsupport::ScratchFolder folder_{"replay-check"};
};

TEST_F(ReplayCheckTest, TheVerdictSaysHowTheRunWentOrWhereItDiffers) {
    const replaytest::Recording run = replaytest::recordFight(3000, false, 21);
    char agreed[200];
    std::snprintf(agreed, sizeof agreed,
                  "replay run.vxr: 3000 turns, %d matches, 51 checkpoints agree, final state "
                  "%016" PRIx64 "\n",
                  run.knockOuts, run.finalHash);
    Verdict whole = check(run.bytes);
    EXPECT_EQ(whole.code, 0);
    EXPECT_EQ(whole.out, agreed);

    Verdict cut = check(run.bytes.substr(0, run.bytes.size() - 700));
    EXPECT_EQ(cut.code, 0);
    EXPECT_NE(cut.out.find("cut short: it ends after turn 2"), std::string::npos) << cut.out;

    int64_t turn = -1;
    const std::string altered =
        replaytest::recordFight(3000, false, 21, replaytest::walkChangedOnce(2000, turn)).bytes;
    Verdict differs =
        check(withHeader(altered, [](play::ReplayHeader& h) { h.gameVersion = "0.9"; }));
    EXPECT_EQ(differs.code, 1);
    EXPECT_EQ(differs.out, "replay run.vxr: differs from the recorded match at turn " +
                               std::to_string((turn + 59) / 60 * 60) +
                               " (recorded by vorlaxis 0.9; this is vorlaxis " VORLAXIS_VERSION
                               ")\n");
}

// The keyboard run that the Windows build checks under Wine: these rules and data must still
// play it to the same final state.
TEST_F(ReplayCheckTest, TheRunRecordedForTheWindowsCheckStillChecksOut) {
    const std::string folder = VORLAXIS_SOURCE_DIR "/tests/wine/replay/";
    const std::string expected = replaytest::readFile(folder + "linux-keyboard.txt");
    const Verdict verdict = check(replaytest::readFile(folder + "linux-keyboard.vxr"));
    EXPECT_EQ(verdict.code, 0);
    EXPECT_EQ(verdict.out, "replay run.vxr: " + expected);
}

TEST_F(ReplayCheckTest, FilesItCannotCheckAreNamedWithWhatIsWrong) {
    const std::string run = replaytest::recordFight(200, false, 3).bytes;
    const std::pair<std::string, std::string> cases[] = {
        {"GIF89a", "replay run.vxr: is not a replay\n"},
        {withHeader(run, [](play::ReplayHeader& h) { ++h.dataFingerprint; }),
         "replay run.vxr: was recorded with other game data\n"},
        {run.substr(0, 20), "replay run.vxr: is cut short in its header\n"},
    };
    for (const auto& [bytes, message] : cases) {
        const Verdict verdict = check(bytes);
        EXPECT_EQ(verdict.code, 1);
        EXPECT_EQ(verdict.err, message);
        EXPECT_EQ(verdict.out, "");
    }
}

}  // namespace
