// The menu steered from the camera, on a clip composited from real photographs and read by the
// room recognition as the game reads it (the guided calibration, then every picture): player 2
// points with an open hand at the fourth item of the title screen, moves it down one item and
// holds a rock there for a second and a half, then goes down to "Quit" and holds a rock on it.
// Player 1, beside, waves a rock up and down all along.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/camera/room_camera.h"
#include "app/menu/menu_hand.h"
#include "app/panel/panel_feed.h"
#include "tests/support/scratch_folder.h"
#include "tests/vision/clip_reader.h"

namespace {

using menu::HandPointer;

constexpr int kFps = 30;
// The title screen: nine items, "Quit" last, which the hand cannot choose.
constexpr int kRows = 9;
constexpr int kFirst = 3;

int rowCentre(int row) {
    const double pitch = double(HandPointer::kBottomY - HandPointer::kTopY) / kRows;
    return static_cast<int>(HandPointer::kTopY + (row + 0.5) * pitch);
}

std::string at(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

// The frames after the calibration, as roomclip scripts them. The hand pointing at the first
// item drifts down over the edge of the next one and back, as a hand held up does.
// `rockFrame` and `quitFrame` are where the two rocks close, counted from the clip's start.
std::string script(int& rockFrame, int& quitFrame) {
    const int y3 = rowCentre(kFirst), y4 = rowCentre(kFirst + 1), yQuit = rowCentre(kRows - 1);
    const std::string one = " rock 90,60 -> 70,170 ";
    const std::string lines[] = {
        "15 none | none",
        "20" + one + "| paper " + at(80, y3) + " -> " + at(83, y3 + 11),
        "10" + one + "| paper " + at(83, y3 + 11) + " -> " + at(80, y3),
        "15" + one + "| paper " + at(80, y3) + " -> " + at(80, y4),
        "45" + one + "| rock " + at(80, y4) + " -> " + at(83, y4 + 3),
        "15" + one + "| paper " + at(83, y4 + 3) + " -> " + at(80, y4),
        "20" + one + "| paper " + at(80, y4) + " -> " + at(80, yQuit),
        "45" + one + "| rock " + at(80, yQuit) + " -> " + at(82, yQuit - 2),
        "10" + one + "| none",
    };
    rockFrame = 2 * kFps + 15 + 20 + 10 + 15;
    quitFrame = rockFrame + 45 + 15 + 20;
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

struct Choice {
    int row, frame;
};

TEST(MenuHand, AClipsHandMovesTheHighlightDownOneItemAndARockHeldASecondChoosesItOnce) {
    testsupport::ScratchFolder folder("menu-hand");
    int rockFrame = 0, quitFrame = 0;
    std::ofstream(folder.path() + "/hand.script") << script(rockFrame, quitFrame);
    const std::string make = std::string(VORLAXIS_BIN_DIR) + "/tools/roomclip make --fps " +
                             std::to_string(kFps) + " --conditions lit --script " + folder.path() +
                             "/hand.script " + folder.path() + " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0)
        GTEST_SKIP() << "roomclip could not make the clip (are opencv-doc's photos installed?)";
    testclip::ClipReader clip;
    ASSERT_TRUE(clip.open(folder.path() + "/lit.y4m"));
    ASSERT_EQ(clip.perSecond(), kFps);

    CWebCam cam;
    RoomCamera camera;
    PanelFeed feed;
    HandPointer pointer;
    const std::vector<bool> byHand = {true, true, true, true, true, true, true, true, false};
    int highlighted = 0;
    std::vector<int> highlights;
    std::vector<Choice> choices;
    double fullAt = -1;
    for (int n = 0; n < clip.count(); ++n) {
        clip.read(n, cam.images[0]);
        const double seconds = static_cast<double>(n) / kFps;
        camera.pass(cam, seconds);
        feed.calibration.store(camera.status(seconds).phase);
        const menu::HandReading hand = menu::readHand(cam, feed);
        const HandPointer::Step step = pointer.step(hand, n * 1000 / kFps, byHand, highlighted);
        if (step.moved) {
            highlighted = step.row;
            highlights.push_back(highlighted);
        }
        if (step.chose) choices.push_back({highlighted, n});
        if (n >= quitFrame && fullAt < step.progress) fullAt = step.progress;
        EXPECT_TRUE(n >= 2 * kFps || !hand.seen) << "a hand read while calibrating, frame " << n;
    }
    ASSERT_EQ(camera.status(clip.count() / double(kFps)).phase, CALIBRATION_DONE);

    const std::vector<int> expected = {kFirst, kFirst + 1, 5, 6, 7, kRows - 1};
    EXPECT_EQ(highlights, expected) << "the highlight flickered or missed a row";
    ASSERT_EQ(choices.size(), 1u) << "the one rock on a choosable row chooses once";
    EXPECT_EQ(choices[0].row, kFirst + 1);
    const int frames = choices[0].frame - rockFrame;
    std::printf("chosen %d frames (%d ms) after the rock closed\n", frames, frames * 1000 / kFps);
    EXPECT_GE(frames, kFps);
    EXPECT_LE(frames, kFps + kFps / 5) << "the recognition kept missing the rock";
    EXPECT_EQ(fullAt, 0.0) << "a rock on Quit must not even start to choose it";
}

// The hold's timing pass by pass, which the clip's steady signs leave out: a misread rock is
// bridged, a lost hand is not, a rock kept after a choice chooses nothing more, and the
// highlight moved by a key starts the hold again.
TEST(MenuHand, AHoldBridgesAMisreadNotALossAndAKeptRockChoosesOnce) {
    HandPointer pointer;
    const std::vector<bool> rows(5, true);
    std::vector<int64_t> chosen;
    int64_t now = 0;
    const auto run = [&](int64_t until, int sign, int highlighted) {
        for (; now < until; now += 25)
            if (pointer.step({sign != 0, 120, sign}, now, rows, highlighted).chose)
                chosen.push_back(now);
    };
    run(600, vision::kRock, 2);
    run(700, vision::kPaper, 2);
    run(2500, vision::kRock, 2);
    run(2800, vision::kNoSign, 2);
    run(3400, vision::kRock, 2);
    run(4600, vision::kRock, 3);
    EXPECT_EQ(chosen, (std::vector<int64_t>{1000, 4400}));
}

}  // namespace
