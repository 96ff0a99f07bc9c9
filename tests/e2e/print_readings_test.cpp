// --print-readings: the recognition run on every frame of a clip with no display, one line of
// readings a frame, in both recognitions, fast enough to score long clips; a clip that cannot
// be read, or is too short to calibrate on, ends it with the reason and exit code 1.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/screen.h"

namespace {

using e2e::Outcome;
using e2e::runWithoutDisplay;

struct Clips : e2e::ClipTest {
    using ClipTest::makeClip;
};

// The processor time the game's finished runs have taken so far: what a run costs, whatever
// else the machine is doing.
double childSeconds() {
    rusage use{};
    getrusage(RUSAGE_CHILDREN, &use);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(use.ru_utime) + seconds(use.ru_stime);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class PrintReadingsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::exists(e2e::gamePath())) GTEST_SKIP() << e2e::gamePath() << " is not built";
        // Player 1 shows rock for a second while player 2's half is empty, then both play:
        // 4 s at 30 frames a second.
        clip_ =
            Clips::makeClip("fps 30\n30 rock 80,120 | none\n90 scissors 40,100 | paper 80,120\n");
        if (clip_.empty()) GTEST_SKIP() << "no clip generator";
    }
    void TearDown() override {
        if (!clip_.empty()) std::remove(clip_.c_str());
    }
    std::string clip_;
};

TEST_F(PrintReadingsEndToEnd, EveryFrameGetsOneLineInEitherRecognitionQuicklyAndWithoutADisplay) {
    const std::regex line(
        "frame ([0-9]+): ([01]) (-?[0-9]+) ([0-9]+) ([123]) ([01]) ([0-9]+) "
        "([0-9]+) ([123])");
    for (const char* mode : {"classic", "room"}) {
        SCOPED_TRACE(mode);
        const double before = childSeconds();
        const Outcome run =
            runWithoutDisplay({"--camera", clip_, "--print-readings", "--vision", mode});
        const double seconds = childSeconds() - before;
        EXPECT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> lines = linesOf(run.out);
        ASSERT_EQ(lines.size(), 120u) << run.out << run.err;
        // At least 60 frames a second, start-up included, counted in processor time so that a
        // busy machine does not fail it; instrumented builds are many times slower by design.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        EXPECT_LT(seconds, 2.0);
#else
        (void)seconds;
#endif
        for (size_t n = 0; n < lines.size(); ++n) {
            std::smatch m;
            ASSERT_TRUE(std::regex_match(lines[n], m, line)) << lines[n];
            EXPECT_EQ(m[1], std::to_string(n));
            // The room recognition's calibration (2 s) reads nothing, as in the game: the
            // camera's start values.
            if (std::string(mode) == "room" && n < 60) {
                EXPECT_EQ(lines[n].substr(lines[n].find(':')), ": 0 80 120 1 0 80 120 1");
                continue;
            }
            // An empty half gives the empty values, whichever the recognition.
            if (m[2] == "0") {
                EXPECT_EQ(m[3].str() + " " + m[4].str() + " " + m[5].str(), "-160 0 3");
            }
            if (m[6] == "0") {
                EXPECT_EQ(m[7].str() + " " + m[8].str() + " " + m[9].str(), "0 0 3");
            }
        }
        if (std::string(mode) == "classic") {
            // The bright shapes on the dark backdrop, where the clip put them.
            EXPECT_EQ(lines[10].substr(0, 20), "frame 10: 1 79 119 1") << lines[10];
            EXPECT_EQ(lines[10].substr(20), " 0 0 0 3") << lines[10];
            EXPECT_EQ(lines[100].substr(0, 13), "frame 100: 1 ") << lines[100];
            EXPECT_NE(lines[100].find(" 1 79 "), std::string::npos) << lines[100];
        }
    }
}

TEST_F(PrintReadingsEndToEnd, AClipThatCannotBeReadOrIsTooShortToCalibrateOnEndsWithCode1) {
    const Outcome missing = runWithoutDisplay({"--camera", "/nonexistent.y4m", "--print-readings"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("/nonexistent.y4m"), std::string::npos) << missing.err;

    const std::string shortClip = Clips::makeClip("fps 30\n45 rock 80,120 | none\n");
    ASSERT_FALSE(shortClip.empty());
    const Outcome room =
        runWithoutDisplay({"--camera", shortClip, "--print-readings", "--vision", "room"});
    std::remove(shortClip.c_str());
    EXPECT_EQ(room.status, 1);
    EXPECT_EQ(room.out, "");
    EXPECT_EQ(room.err,
              "vorlaxis: the clip is shorter than the 2 seconds the room recognition calibrates "
              "on\n");

    const Outcome mistake = runWithoutDisplay({"--camera", clip_, "--print-readings", "--vision"});
    EXPECT_EQ(mistake.status, 2);
    EXPECT_EQ(mistake.err.rfind("vorlaxis: option '--vision' needs classic or room\n", 0), 0u);
}

}  // namespace
