// The room recognition on clips of real photographs (hands, faces, bodies and rooms that
// Debian packages ship), made by tools/roomclip with the calibration at their start and the
// truth of every frame: calibrated on each clip's first two seconds, it must find the hands
// near the centre of their own pixels, leave empty halves empty and read the signs.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"
#include "tests/vision/clip_reader.h"
#include "vision/room/RoomVision.h"

namespace {

using testclip::ClipReader;
using vision::room::RoomVision;

// One half of one frame as the clip's truth gives it.
struct Truth {
    bool hand = false;
    double x = 0, y = 0;
    int sign = 0;
};

// Per frame, player 1 then player 2; false when the file is not there.
bool readTruth(const std::string& path, std::vector<std::array<Truth, 2>>& frames) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line.substr(line.find(':') + 1));
        std::array<Truth, 2> halves;
        for (Truth& t : halves) words >> t.hand >> t.x >> t.y >> t.sign;
        halves[0].x += vision::kHalfWidth;
        frames.push_back(halves);
    }
    return !frames.empty();
}

struct Score {
    int hands = 0, located = 0, signs = 0, empty = 0, leftEmpty = 0;
};

// Calibrates on the clip's first two seconds, then reads every frame after them.
Score scoreClip(const std::string& stem) {
    Score score;
    std::vector<std::array<Truth, 2>> truth;
    ClipReader clip;
    EXPECT_TRUE(readTruth(stem + ".truth", truth) && clip.open(stem + ".y4m")) << stem;
    CWebCam cam;
    auto room = std::make_unique<RoomVision>();
    const int phase = clip.perSecond();
    for (int n = 0; n < 2 * phase; ++n) {
        clip.read(n, cam.images[0]);
        if (n < phase)
            room->addReference(cam.images[0]);
        else
            room->addPalm(cam.images[0]);
    }
    std::string problem;
    EXPECT_TRUE(room->calibrate(problem));
    EXPECT_EQ(problem, "");
    for (int n = 2 * phase; n < clip.count() && n < static_cast<int>(truth.size()); ++n) {
        clip.read(n, cam.images[0]);
        room->read(cam.images[0], cam);
        for (int player = 0; player < 2; ++player) {
            const Truth& t = truth[static_cast<size_t>(n)][static_cast<size_t>(player)];
            const vision::room::RoomHand& seen = room->hand(player);
            if (!t.hand) {
                ++score.empty;
                score.leftEmpty += !seen.found;
                continue;
            }
            ++score.hands;
            if (!seen.found) continue;
            const double x = static_cast<double>(seen.facts.sumX / seen.facts.count);
            const double y = static_cast<double>(seen.facts.sumY / seen.facts.count);
            score.located += std::hypot(x - t.x, y - t.y) <= 10.0;
            score.signs += seen.facts.sign == t.sign;
        }
    }
    return score;
}

// What each condition must at least reach: hands within 10 px, signs right, empty halves
// read empty. In lit rooms the hands are held to the 90% and 95% the game aims at; the signs,
// and the hands of the harder conditions, to a little under what is measured today (signs:
// lit 86%, people 93%, changed light 81%, bare arms 91%; hands: 85% after the light changed
// and 92% with bare arms), so that a change for the worse shows.
struct Floor {
    const char* condition;
    double located, signs, empty;
};
constexpr Floor kFloors[] = {
    {"lit", 0.90, 0.82, 0.95},
    {"people", 0.90, 0.88, 0.95},
    {"relit", 0.85, 0.78, 0.95},
    {"bare", 0.88, 0.85, 0.95},
};

TEST(RoomPhotosTest, InRoomsWithPeopleChangingLightAndBareArmsItFindsTheHandsAndTheirSigns) {
    testsupport::ScratchFolder folder("roomclips");
    const std::string tool = std::string(VORLAXIS_BIN_DIR) + "/tools/roomclip";
    const std::string make = tool +
                             " make --frames 60 --seed 3 --conditions lit,people,relit,bare " +
                             folder.path() + " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0)
        GTEST_SKIP() << "roomclip could not make the clips (are opencv-doc's photos installed?)";
    for (const Floor& floor : kFloors) {
        SCOPED_TRACE(floor.condition);
        const Score s = scoreClip(folder.path() + "/" + floor.condition);
        ASSERT_GT(s.hands, 40);
        std::printf(
            "%s: %d of %d hands within 10 px, %d signs right, %d of %d empty halves "
            "empty\n",
            floor.condition, s.located, s.hands, s.signs, s.leftEmpty, s.empty);
        EXPECT_GE(s.located, floor.located * s.hands);
        EXPECT_GE(s.signs, floor.signs * s.hands);
        EXPECT_GE(s.leftEmpty, floor.empty * s.empty);
    }
}

}  // namespace
