#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "animation/codes.h"
#include "animation/moves.h"
#include "tests/animation/model_files.h"
#include "tests/support/data_folder.h"

namespace {

using namespace animation;

class ShippedMoves : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WorkingDir data(testsupport::dataFolder());
        moves = new Moves;
        ASSERT_TRUE(moves->readMoves());
    }
    static void TearDownTestSuite() {
        delete moves;
        moves = nullptr;
    }
    static Model file(const char* name) { return readModel(testsupport::dataFile(name)); }
    static Moves* moves;
};
Moves* ShippedMoves::moves = nullptr;

// a * (1 - t) + b * t on vertices and normals, the rest taken from a.
Model blend(Model a, const Model& b, double t) {
    for (int list : {VERTICES, NORMALS})
        for (std::size_t i = 0; i < a[list].size(); ++i)
            for (int j = 0; j < 3; ++j) a[list][i][j] = (1 - t) * a[list][i][j] + t * b[list][i][j];
    return a;
}

TEST_F(ShippedMoves, MoveLengthsAreTheTimesOfTheLastKeyframes) {
    const int expected[kMoveCount] = {0, 75, 75, 50, 150, 150, 50};
    for (int m = kRest; m < kMoveCount; ++m) EXPECT_EQ(moves->getMoveLength(m), expected[m]) << m;
    EXPECT_EQ(moves->getMoveLength(kMoveCount), 0);
    EXPECT_EQ(moves->getMoveLength(-1), 0);
}

TEST_F(ShippedMoves, RestMoveIsThePunch00PoseAtAnyTime) {
    const Model rest = file("Punch00.txt");
    for (int t : {-100, 0, 37, 100000}) {
        EXPECT_EQ(moves->interpolate(kRest, t), rest) << t;
        EXPECT_EQ(moves->interpolateDist(kRest, t), 30.0f);
    }
}

TEST_F(ShippedMoves, KeyframeTimesGiveTheFilePosesExactly) {
    EXPECT_EQ(moves->interpolate(kPunch, 0), file("Punch00.txt"));
    EXPECT_EQ(moves->interpolate(kPunch, 6), file("Punch01.txt"));
    EXPECT_EQ(moves->interpolate(kPunch, 24), file("Punch04.txt"));
    EXPECT_EQ(moves->interpolate(kPunch, 36), file("Punch03.txt"));
    EXPECT_EQ(moves->interpolate(kHeadPunch, 25), file("HeadPunch05.txt"));
    EXPECT_EQ(moves->interpolate(kComboPrep, 25), file("ComboPrep01.txt"));
    EXPECT_EQ(moves->interpolate(kBanana, 70), file("Banana03.txt"));
    EXPECT_EQ(moves->interpolate(kAyuken, 70), file("Ayuken03.txt"));
    EXPECT_EQ(moves->interpolate(kComboBack, 0), file("ComboPrep02.txt"));
}

TEST_F(ShippedMoves, BetweenKeyframesBlendsVerticesAndNormalsOnly) {
    // Time 30 lies halfway between Punch04 (24) and Punch03 (36).
    const Model expected = blend(file("Punch04.txt"), file("Punch03.txt"), 0.5);
    const Model got = moves->interpolate(kPunch, 30);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[COLORS], expected[COLORS]);
    EXPECT_EQ(got[POLYGONS], expected[POLYGONS]);
    ASSERT_EQ(got[VERTICES].size(), expected[VERTICES].size());
    for (int list : {VERTICES, NORMALS})
        for (std::size_t i = 0; i < got[list].size(); ++i)
            for (int j = 0; j < 3; ++j) ASSERT_NEAR(got[list][i][j], expected[list][i][j], 1e-12);
    // A third of the way from Banana02 (40) to Banana03 (70).
    const Model third = moves->interpolate(kBanana, 50);
    const Model thirdExpected = blend(file("Banana02.txt"), file("Banana03.txt"), 1.0 / 3.0);
    EXPECT_NEAR(third[VERTICES][100][2], thirdExpected[VERTICES][100][2], 1e-12);
}

TEST_F(ShippedMoves, BeforeTheFirstAndAfterTheLastKeyframeHoldTheEndPoses) {
    EXPECT_EQ(moves->interpolate(kPunch, 75), file("Punch00.txt"));
    EXPECT_EQ(moves->interpolate(kPunch, 200), file("Punch00.txt"));
    EXPECT_EQ(moves->interpolate(kBanana, 150), file("ComboPrep02.txt"));
    // Negative times hold the first pose rather than extrapolating past it.
    EXPECT_EQ(moves->interpolate(kPunch, -6), file("Punch00.txt"));
    EXPECT_EQ(moves->interpolate(kAyuken, -1000000), file("ComboPrep02.txt"));
    // Unknown move numbers show the rest pose.
    EXPECT_EQ(moves->interpolate(kMoveCount, 10), file("Punch00.txt"));
    EXPECT_EQ(moves->interpolate(-3, 10), file("Punch00.txt"));
}

TEST_F(ShippedMoves, ApproachDistancesAtTheSamplePoints) {
    EXPECT_FLOAT_EQ(moves->interpolateDist(kBanana, 70), 1.0f);
    EXPECT_FLOAT_EQ(moves->interpolateDist(kBanana, 55), 5.5f);
    EXPECT_EQ(moves->interpolateDist(kBanana, 100), static_cast<float>(5.0 + 10.0 / 3.0));
    EXPECT_FLOAT_EQ(moves->interpolateDist(kBanana, 10), 25.0f);
    EXPECT_FLOAT_EQ(moves->interpolateDist(kAyuken, 130), 20.0f);
    EXPECT_EQ(moves->interpolateDist(kBanana, 150), 30.0f);
    EXPECT_EQ(moves->interpolateDist(kBanana, 200), 30.0f);
    EXPECT_EQ(moves->interpolateDist(kBanana, -50), 30.0f);
    EXPECT_EQ(moves->interpolateDist(kPunch, 30), 30.0f);
    EXPECT_EQ(moves->interpolateDist(9, 30), 30.0f);
}

TEST_F(ShippedMoves, InterpolateReturnsAnIndependentCopy) {
    Model pose = moves->interpolate(kPunch, 30);
    const Model again = moves->interpolate(kPunch, 30);
    pose[VERTICES][0][0] += 1000.0;
    pose[POLYGONS].clear();
    EXPECT_EQ(moves->interpolate(kPunch, 30), again);
    Model rest = moves->interpolate(kRest, 0);
    rest[NORMALS].clear();
    EXPECT_EQ(moves->interpolate(kRest, 0), file("Punch00.txt"));
}

// ---- start-up with missing or broken keyframe files ------------------------------------------

const char* const TRIANGLE =
    "v 0 1 0 v -1 0 0 v 1 0 0 vt 0 0 vn 0 0 1 vn 0 0 1 vn 0 0 1 f 1/1/1 2/1/2 3/1/3 g\n";

void writeAll(const TempDir& dir, const std::string& contents) {
    for (const char* name : KEYFRAME_FILES) dir.write(name, contents);
}

std::string readMovesIn(const TempDir& dir, bool* ok) {
    WorkingDir here(dir.path());
    Moves moves;
    ::testing::internal::CaptureStderr();
    *ok = moves.readMoves();
    return ::testing::internal::GetCapturedStderr();
}

TEST(MovesStartUp, ReadsAConsistentSetSilently) {
    TempDir dir;
    writeAll(dir, TRIANGLE);
    bool ok = false;
    EXPECT_EQ(readMovesIn(dir, &ok), "");
    EXPECT_TRUE(ok);
}

TEST(MovesStartUp, NamesEveryMissingOrBrokenFileOnce) {
    TempDir dir;
    writeAll(dir, TRIANGLE);
    std::remove(dir.file("Punch03.txt").c_str());
    std::remove(dir.file("Ayuken02.txt").c_str());
    dir.write("Banana01.txt", "v 0 1 0 v -1 0 0 vt 0 0 vn 0 0 1 f 1/1/1 2/1/1");    // truncated
    dir.write("HeadPunch02.txt", "v 0 1 0 vt 0 0 vn 0 0 1 f 1/1/1 2/1/1 3/1/1 g");  // no vertex 2
    dir.write("ComboPrep01.txt", "v 0 1 0 v 1 1 1 v 2 2 2 vt 0 0 vn 0 0 1 f 1/1/1 1/1/1 1/1/1 g");
    dir.write("Punch01.txt",
              "v 0 1 0 v -1 0 0 v 1 0 0 v 2 2 2 vt 0 0 vn 0 0 1 vn 0 0 1 vn 0 0 1 "
              "vn 0 0 1 f 1/1/1 2/1/2 3/1/3 g");  // another vertex count
    bool ok = true;
    const std::string err = readMovesIn(dir, &ok);
    EXPECT_FALSE(ok);
    for (const char* name : {"Punch03.txt", "Ayuken02.txt", "Banana01.txt", "HeadPunch02.txt",
                             "ComboPrep01.txt", "Punch01.txt"}) {
        const std::size_t at = err.find(name);
        EXPECT_NE(at, std::string::npos) << name << " not named in:\n" << err;
        EXPECT_EQ(err.find(name, at + 1), std::string::npos) << name << " named twice";
    }
    EXPECT_EQ(err.find("Punch00.txt"), std::string::npos);
    EXPECT_EQ(err.find("Banana02.txt"), std::string::npos);
}

// The first pose of a move used to be the yardstick of the others' vertex counts, so a bad
// Punch00.txt or ComboPrep02.txt also blamed the good files blended with it.
TEST(MovesStartUp, ABadFirstPoseBlamesOnlyItself) {
    for (const char* bad : {"Punch00.txt", "ComboPrep02.txt"}) {
        for (const char* contents :
             {"", "v 0 1 0 v -1 0 0 vt 0 0 vn 0 0 1 f 1/1/1 2/1/1 2/1/1 g"}) {
            TempDir dir;
            writeAll(dir, TRIANGLE);
            dir.write(bad, contents);  // empty, or another vertex count
            bool ok = true;
            const std::string err = readMovesIn(dir, &ok);
            EXPECT_FALSE(ok);
            EXPECT_EQ(err.find("Unable to read keyframe file "), 0u) << err;
            EXPECT_NE(err.find(bad), std::string::npos) << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        }
    }
}

TEST(MovesStartUp, FailedLoadLeavesSafeEmptyMoves) {
    TempDir dir;  // no keyframe files at all
    WorkingDir here(dir.path());
    Moves moves;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(moves.readMoves());
    const std::string err = ::testing::internal::GetCapturedStderr();
    for (const char* name : KEYFRAME_FILES) EXPECT_NE(err.find(name), std::string::npos) << name;
    EXPECT_EQ(moves.interpolate(kPunch, 30), Model(4));
    EXPECT_EQ(moves.interpolate(kRest, 0), Model(4));
    EXPECT_EQ(moves.interpolateDist(kBanana, 55), 30.0f);
    EXPECT_EQ(moves.getMoveLength(kBanana), 0);
}

TEST(MovesStartUpDeathTest, LoadMovesEndsTheProgramWithExitCodeOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    writeAll(dir, TRIANGLE);
    dir.write("Punch04.txt", "garbage");
    WorkingDir here(dir.path());
    Moves moves;
    EXPECT_EXIT(moves.loadMoves(), ::testing::ExitedWithCode(1), "Punch04.txt");
}

}  // namespace
