// roomclip's clips of real photographs: their truth checked against the pictures, the
// scorer, the tool's failures, and the recognition's scores on the clips in both modes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/capture/y4m.h"
#include "tests/support/scratch_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/roomclip/score.h"

namespace {

using roomclip::FrameReading;
using roomclip::Score;
using toolstest::runTool;

// The room mode's targets in the lit rooms: shares of the hands located within 10 px, of the
// empty halves read as empty and of the signs read right. The other conditions are measured
// and printed; on the black backdrop the room mode must locate at least as many hands as the
// classic one.
struct Target {
    const char* condition;
    double located, emptyClear, signs;
};
// Each lit room on its own is held to the location targets and to a floor on the signs; the
// signs' target holds for the lit rooms together, since one room's share rests on some 40
// poses and moves by several points from one seed to the next.
constexpr Target kRoomTargets[] = {
    {"lit", 0.90, 0.95, 0.80},
    {"people", 0.90, 0.95, 0.80},
};
constexpr double kLitRoomSigns = 0.85;

constexpr int kFps = 10;
constexpr int kTestFrames = 48;
// The conditions held to targets get more frames, so that a share of 90% rests on some 180
// hands rather than 70.
constexpr int kTargetFrames = 120;
// Not the tool's default seed, which makes the clips the recognition is tuned on: the test's
// poses are ones it has not seen.
constexpr int kSeed = 2026;
const char* const kConditions[] = {"black", "dark", "lit", "people", "window", "relit", "bare"};

const std::string kRoomclip = std::string(VORLAXIS_BIN_DIR) + "/tools/roomclip";
const std::string kGame = std::string(VORLAXIS_BIN_DIR) + "/app/vorlaxis";

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::vector<FrameReading> parsed(const std::string& text) {
    std::vector<FrameReading> frames;
    std::string error;
    EXPECT_TRUE(roomclip::parseReadings(text, frames, error)) << error;
    return frames;
}

// The clips, each made once for the whole program when a test first needs it: making them
// is the slow part.
class RoomClips : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<testsupport::ScratchFolder>("roomclip");
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static std::string path(const std::string& condition, const std::string& suffix) {
        if (!std::ifstream(folder_->file(condition + ".y4m")))
            make(folder_->path(), condition, kTestFrames);
        return folder_->file(condition + suffix);
    }
    static void make(const std::string& folder, const std::string& conditions, int frames) {
        const toolstest::ToolRun made =
            runTool(kRoomclip + " make --seed " + std::to_string(kSeed) + " --fps " +
                    std::to_string(kFps) + " --frames " + std::to_string(frames) +
                    " --conditions " + conditions + " " + folder + " 2>&1");
        EXPECT_EQ(made.status, 0) << made.output;
    }
    static std::vector<FrameReading> truth(const std::string& condition) {
        return parsed(slurp(path(condition, ".truth")));
    }
    static bool gameReadsClips() {
        return runTool(kGame + " --help 2>&1").output.find("--print-readings") != std::string::npos;
    }
    // The game's readings of FOLDER/CONDITION.y4m in `mode`, scored against its truth after
    // the calibration; a failure is added to the test when the game or the scorer fails.
    static Score readAndScore(const testsupport::ScratchFolder& folder,
                              const std::string& condition, const std::string& mode) {
        Score s;
        const toolstest::ToolRun r =
            runTool(kGame + " --camera " + folder.file(condition + ".y4m") +
                    " --print-readings --vision " + mode);
        EXPECT_EQ(r.status, 0) << condition << " " << mode;
        std::string error;
        EXPECT_TRUE(roomclip::scoreClip(parsed(slurp(folder.file(condition + ".truth"))),
                                        parsed(r.output), 2 * kFps, s, error))
            << condition << " " << mode << ": " << error;
        return s;
    }

    static std::unique_ptr<testsupport::ScratchFolder> folder_;
};

std::unique_ptr<testsupport::ScratchFolder> RoomClips::folder_;

TEST_F(RoomClips, EveryClipBeginsWithTheCalibrationAndHasATruthForEachFrame) {
    for (const char* condition : {"people", "relit"}) {
        SCOPED_TRACE(condition);
        camera::Y4mClip clip;
        std::string error;
        ASSERT_TRUE(clip.open(path(condition, ".y4m"), error)) << error;
        EXPECT_EQ(clip.header().width, 320);
        EXPECT_EQ(clip.header().height, 240);
        EXPECT_EQ(clip.header().rateNum / clip.header().rateDen, kFps);
        const std::vector<FrameReading> frames = truth(condition);
        ASSERT_EQ(static_cast<int>(frames.size()), 2 * kFps + kTestFrames);
        ASSERT_EQ(clip.frameCount(), static_cast<int>(frames.size()));
        EXPECT_EQ(roomclip::calibrationFrames(slurp(path(condition, ".truth"))), 2 * kFps);
        std::map<int, int> signs;
        int empty = 0;
        for (const FrameReading& f : frames) {
            for (int p = 0; p < 2; ++p) {
                const roomclip::HalfReading& h = f.half[p];
                if (f.frame < kFps) {
                    EXPECT_FALSE(h.hand) << "hands down, frame " << f.frame;
                } else if (f.frame < 2 * kFps) {
                    // The palms' centres on the marks: x 80 of each half, y 130.
                    EXPECT_TRUE(h.hand && h.sign == 2) << "frame " << f.frame;
                    EXPECT_NEAR(h.x, 80, 1.0);
                    EXPECT_NEAR(h.y, 130, 1.0);
                } else if (h.hand) {
                    ++signs[h.sign];
                    EXPECT_TRUE(h.x >= 0 && h.x < 160 && h.y >= 0 && h.y < 240);
                } else {
                    ++empty;
                    EXPECT_EQ(h.x, p == 0 ? -160 : 0);
                }
            }
        }
        EXPECT_GT(empty, 0);
        for (int sign : {1, 2, 3}) EXPECT_GT(signs[sign], 0) << "sign " << sign;
    }
}

// The scores must not move between runs: the same seed makes the same bytes, another seed
// other poses.
TEST_F(RoomClips, SameSeedSameClipAndAnotherSeedOtherPoses) {
    testsupport::ScratchFolder again("roomclip-again");
    const auto makeInto = [&](int seed) {
        const toolstest::ToolRun made = runTool(
            kRoomclip + " make --conditions black --fps " + std::to_string(kFps) + " --frames " +
            std::to_string(kTestFrames) + " --seed " + std::to_string(seed) + " " + again.path());
        EXPECT_EQ(made.status, 0);
    };
    makeInto(kSeed);
    EXPECT_EQ(slurp(again.file("black.y4m")), slurp(path("black", ".y4m")));
    EXPECT_EQ(slurp(again.file("black.truth")), slurp(path("black", ".truth")));
    makeInto(kSeed + 1);
    EXPECT_NE(slurp(again.file("black.truth")), slurp(path("black", ".truth")));
}

// On the black backdrop with black sleeves only the hands are bright: the centre of the
// bright pixels of each half is the truth's centre of the hand's own pixels.
TEST_F(RoomClips, TruthCentresSitOnTheHandsInThePictures) {
    camera::Y4mClip clip;
    std::string error;
    ASSERT_TRUE(clip.open(path("black", ".y4m"), error)) << error;
    int compared = 0;
    for (const FrameReading& f : truth("black")) {
        camera::RgbFrame rgb;
        ASSERT_TRUE(clip.readFrame(f.frame, rgb, error)) << error;
        for (int p = 0; p < 2; ++p) {
            const roomclip::HalfReading& h = f.half[p];
            if (h.shape.find("blur") != std::string::npos) continue;
            const int left = p == 0 ? 160 : 0;
            double sx = 0, sy = 0;
            int n = 0;
            for (int y = 0; y < 240; ++y)
                for (int x = left; x < left + 160; ++x) {
                    const uint8_t* c = &rgb.rgb[(y * 320 + x) * 3];
                    if (c[0] + c[1] + c[2] > 3 * 45) sx += x - left, sy += y, ++n;
                }
            EXPECT_EQ(n > 0, h.hand) << "frame " << f.frame << " player " << p + 1;
            if (!h.hand || n == 0) continue;
            EXPECT_NEAR(sx / n, h.x, 2.5) << "frame " << f.frame << " player " << p + 1;
            EXPECT_NEAR(sy / n, h.y, 2.5) << "frame " << f.frame << " player " << p + 1;
            ++compared;
        }
    }
    EXPECT_GT(compared, kTestFrames / 2);
}

TEST(RoomScore, CountsHandsWithinTenPixelsEmptyHalvesAndSigns) {
    const std::vector<FrameReading> truth = parsed(
        "# calibration frames 1\n"
        "frame 0: 1 80 130 2 1 80 130 2 paper-spread paper-spread\n"
        "frame 1: 1 50.0 100.0 1 0 0 0 0 rock none\n"
        "frame 2: 1 50.0 100.0 3 1 20.0 30.0 2 scissors paper-flat\n"
        "frame 3: 0 -160 0 0 0 0 0 0 none none\n");
    // Calibration frame 0 is not scored, whatever it reads.
    const std::vector<FrameReading> readings = parsed(
        "frame 0: 0 -160 0 3 0 0 0 3\n"
        "frame 1: 1 56 108 1 1 5 5 3\n"    // 10 px away exactly: located; a hand where none is
        "frame 2: 1 57 108 2 1 20 30 2\n"  // 10.6 px: not located, wrong sign; exact
        "frame 3: 0 -160 0 3 0 0 0 3\n");  // both empty
    Score s;
    std::string error;
    ASSERT_TRUE(roomclip::scoreClip(truth, readings, 1, s, error)) << error;
    EXPECT_EQ(s.hands, 3);
    EXPECT_EQ(s.located, 2);
    EXPECT_EQ(s.signsRight, 2);
    EXPECT_EQ(s.empties, 3);
    EXPECT_EQ(s.emptiesClear, 2);
    EXPECT_NEAR(s.medianError(), 10.0, 1e-9);

    // A hand read as absent is not located, however close its numbers.
    const std::vector<FrameReading> absent = parsed(
        "frame 1: 0 50 100 1 0 0 0 3\nframe 2: 0 50 100 3 0 20 30 2\nframe 3: 0 -160 0 3 0 0 0 "
        "3\n");
    Score t;
    ASSERT_TRUE(roomclip::scoreClip(truth, absent, 1, t, error)) << error;
    EXPECT_EQ(t.located, 0);
    EXPECT_EQ(t.emptiesClear, 3);

    // Readings that stop early are a failure, not a good score.
    Score u;
    EXPECT_FALSE(roomclip::scoreClip(truth, parsed("frame 1: 1 50 100 1 0 0 0 3\n"), 1, u, error));
    EXPECT_NE(error.find("frame 2"), std::string::npos) << error;
    std::vector<FrameReading> cut;
    EXPECT_FALSE(roomclip::parseReadings("frame 4: 1 2 3\n", cut, error));
}

TEST(RoomClipTool, RefusesMistakesAndMissingPhotosWithAReason) {
    testsupport::ScratchFolder folder("roomclip-fail");
    const auto run = [](const std::string& arguments) {
        return runTool(kRoomclip + " " + arguments + " 2>&1");
    };
    toolstest::ToolRun r = run("");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("usage"), std::string::npos);
    r = run("make --frames zero " + folder.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("'--frames' needs a whole number from 1"), std::string::npos)
        << r.output;
    EXPECT_EQ(run("make --colour " + folder.path()).status, 2);
    EXPECT_EQ(run("make").status, 2);

    r = run("make --conditions lit,attic " + folder.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("no condition 'attic'"), std::string::npos) << r.output;

    r = run("make --opencv-doc /nonexistent --conditions lit " + folder.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot read the photo /nonexistent/"), std::string::npos) << r.output;

    r = run("score " + folder.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("no truth files"), std::string::npos) << r.output;

    folder.write("lit.truth", "# calibration frames 0\nframe 0: 0 -160 0 0 0 0 0 0 none none\n");
    r = run("score " + folder.path() + " room");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("lit.room.readings"), std::string::npos) << r.output;
}

// The game's readings of every clip in both modes, scored; the table goes to the test's log.
TEST_F(RoomClips, RoomModeMeetsItsTargetsOnRealPhotographs) {
    if (!gameReadsClips()) GTEST_SKIP() << "this game has no --print-readings";
    testsupport::ScratchFolder scored("roomclip-scored");
    make(scored.path(), "black,dark,window,relit,bare", kTestFrames);
    make(scored.path(), "lit,people", kTargetFrames);
    const std::vector<std::string> modes = {"room", "classic"};
    std::vector<roomclip::TableRow> rows;
    std::map<std::string, std::vector<Score>> scores;
    for (const char* condition : kConditions) {
        roomclip::TableRow row{condition, {}};
        for (const std::string& mode : modes)
            row.modes.push_back(readAndScore(scored, condition, mode));
        scores[condition] = row.modes;
        rows.push_back(row);
    }
    std::vector<Score> all(modes.size());
    for (const roomclip::TableRow& row : rows)
        for (size_t m = 0; m < modes.size(); ++m) all[m].add(row.modes[m]);
    std::printf("%s\n%s", roomclip::formatTable(modes, rows).c_str(),
                roomclip::formatShapes(modes, all).c_str());
    Score litRooms;
    for (const Target& t : kRoomTargets) {
        const Score& room = scores[t.condition][0];
        EXPECT_GE(room.locatedShare(), t.located) << t.condition << ": hands within 10 px";
        EXPECT_GE(room.emptyShare(), t.emptyClear) << t.condition << ": empty halves read empty";
        EXPECT_GE(room.signShare(), t.signs) << t.condition << ": signs right";
        litRooms.add(room);
    }
    EXPECT_GE(litRooms.signShare(), kLitRoomSigns) << "lit rooms together: signs right";
    EXPECT_GE(scores["black"][0].located, scores["black"][1].located)
        << "black backdrop: the room mode locates fewer hands than the classic one";
}

// Hands held still, then taken away: the room the following took in under the arms shows
// again, and must read as the room, not as a hand where the arm was.
TEST_F(RoomClips, TheRoomSeenAgainWhereAStillArmWasReadsEmpty) {
    if (!gameReadsClips()) GTEST_SKIP() << "this game has no --print-readings";
    testsupport::ScratchFolder held("roomclip-held");
    std::ofstream(held.file("held.script")) << "20 rock 80,120 | paper 80,120\n"
                                               "20 none | none\n";
    const toolstest::ToolRun made =
        runTool(kRoomclip + " make --fps " + std::to_string(kFps) + " --conditions lit,relit" +
                " --script " + held.file("held.script") + " " + held.path() + " 2>&1");
    ASSERT_EQ(made.status, 0) << made.output;
    for (const char* condition : {"lit", "relit"}) {
        const Score s = readAndScore(held, condition, "room");
        EXPECT_GE(s.locatedShare(), 0.9) << condition << ": held hands located";
        EXPECT_GE(s.emptyShare(), 0.95) << condition << ": the halves once the hands have gone";
    }
}

}  // namespace
