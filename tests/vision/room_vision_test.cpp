// The room recognition, calibrated on a painted room with two people in it and then shown
// their hands: where each hand is (its own pixels, not the forearm), which sign it makes,
// and that an empty half says so with the classic recognition's empty values.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "tests/vision/room_scene.h"
#include "vision/room/RoomVision.h"

namespace {

using roomscene::DrawnHand;
using roomscene::HandPose;
using vision::room::RoomVision;

constexpr int kPhaseFrames = 10;

struct Rig {
    CWebCam cam;
    std::unique_ptr<roomscene::Scene> scene = std::make_unique<roomscene::Scene>();
    std::unique_ptr<RoomVision> room = std::make_unique<RoomVision>();

    // Both phases; `palms` says which players hold their palm on the mark.
    std::string calibrate(bool palm1 = true, bool palm2 = true) {
        for (int k = 0; k < kPhaseFrames; ++k) {
            scene->room(cam);
            room->addReference(cam.images[0]);
        }
        for (int k = 0; k < kPhaseFrames; ++k) {
            scene->room(cam);
            HandPose palm;
            palm.x = 240;
            if (palm1) scene->hand(palm, roomscene::kLightSkin);
            palm.x = 80;
            if (palm2) scene->hand(palm, roomscene::kDarkSkin);
            room->addPalm(cam.images[0]);
        }
        std::string problem;
        EXPECT_TRUE(room->calibrate(problem));
        return problem;
    }

    // One frame with the given hands (a sign of 0: no hand in that half).
    void show(const HandPose& one, const HandPose& two, DrawnHand drawn[2],
              const float gain[3] = nullptr) {
        scene->room(cam, gain);
        drawn[0] = one.sign ? scene->hand(one, roomscene::kLightSkin) : DrawnHand{};
        drawn[1] = two.sign ? scene->hand(two, roomscene::kDarkSkin) : DrawnHand{};
        room->read(cam.images[0], cam);
    }
};

// Player 1's hand is in the right half, its x counted from that half's edge.
void expectReading(const CWebCam& cam, int player, const DrawnHand& drawn, int sign,
                   const std::string& what) {
    SCOPED_TRACE(what + ", player " + std::to_string(player));
    const int handIn = player == 1 ? cam.handIn1.load() : cam.handIn2.load();
    const int x = player == 1 ? cam.baryX1.load() + vision::kHalfWidth : cam.baryX2.load();
    const int y = player == 1 ? cam.baryY1.load() : cam.baryY2.load();
    const int rps = player == 1 ? cam.rps1.load() : cam.rps2.load();
    if (!drawn.drawn) {
        EXPECT_EQ(handIn, 0);
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
        EXPECT_EQ(rps, vision::kScissors);
        return;
    }
    ASSERT_EQ(handIn, 1);
    EXPECT_LE(std::hypot(x - drawn.x, y - drawn.y), 4.0) << x << "," << y;
    EXPECT_EQ(rps, sign);
}

TEST(RoomVisionTest, CalibratedOnTheRoomItReadsEachHandAndSignWhereverItIsHeld) {
    Rig rig;
    EXPECT_EQ(rig.calibrate(), "");
    EXPECT_TRUE(rig.room->playerReady(0) && rig.room->playerReady(1));
    const int signs[] = {vision::kRock, vision::kPaper, vision::kScissors};
    const HandPose::Arm arms[] = {HandPose::NONE, HandPose::BARE, HandPose::SLEEVE};
    int shown = 0;
    for (int sign : signs) {
        for (HandPose::Arm arm : arms) {
            for (int place = 0; place < 3; ++place) {
                HandPose one, two;
                one.sign = sign;
                one.arm = arm;
                one.x = 200 + 25 * place;
                one.y = 100 + 20 * place;
                two = one;
                two.x = one.x - 160 + 10;
                two.sign = signs[(shown + 1) % 3];
                DrawnHand drawn[2];
                rig.show(one, two, drawn);
                const std::string what = "sign " + std::to_string(sign) + ", arm " +
                                         std::to_string(arm) + ", place " + std::to_string(place);
                expectReading(rig.cam, 1, drawn[0], one.sign, what);
                expectReading(rig.cam, 2, drawn[1], two.sign, what);
                ++shown;
            }
        }
    }
}

// Fingers held together are as thick as the palm and stand out as no finger: the hand's
// breadth part way to the fingertips and its length still tell an open hand from a fist.
TEST(RoomVisionTest, AFlatHandWithItsFingersTogetherReadsAsPaper) {
    Rig rig;
    EXPECT_EQ(rig.calibrate(), "");
    const HandPose::Arm arms[] = {HandPose::NONE, HandPose::BARE, HandPose::SLEEVE};
    for (HandPose::Arm arm : arms) {
        for (int place = 0; place < 3; ++place) {
            HandPose one;
            one.sign = vision::kPaper;
            one.flat = true;
            one.arm = arm;
            one.x = 205 + 20 * place;
            one.y = 105 + 15 * place;
            HandPose two = one;
            two.x = one.x - 150;
            DrawnHand drawn[2];
            rig.show(one, two, drawn);
            const std::string what =
                "arm " + std::to_string(arm) + ", place " + std::to_string(place);
            expectReading(rig.cam, 1, drawn[0], vision::kPaper, what);
            expectReading(rig.cam, 2, drawn[1], vision::kPaper, what);
        }
    }
}

TEST(RoomVisionTest, EmptyHalvesReadNoHandAndTheLightMayChangeAfterCalibration) {
    Rig rig;
    rig.calibrate();
    HandPose none, one;
    none.sign = 0;
    one.x = 230;
    one.sign = vision::kPaper;
    DrawnHand drawn[2];
    rig.show(none, none, drawn);
    expectReading(rig.cam, 1, drawn[0], 0, "both empty");
    expectReading(rig.cam, 2, drawn[1], 0, "both empty");
    EXPECT_EQ(rig.cam.baryX1.load(), -vision::kHalfWidth);
    // Brighter and bluer light: the gains are measured against the reference.
    const float warmer[3] = {1.25f, 1.15f, 0.9f};
    for (int k = 0; k < 3; ++k) {
        rig.show(one, none, drawn, warmer);
        expectReading(rig.cam, 1, drawn[0], vision::kPaper, "changed light");
        expectReading(rig.cam, 2, drawn[1], 0, "changed light");
    }
}

TEST(RoomVisionTest, APlayerWhosePalmWasNotOnTheMarkReadsNoHandWhileTheOtherPlays) {
    Rig rig;
    EXPECT_EQ(rig.calibrate(true, false),
              "no palm of player 2 on its mark, so its half reads no hand");
    EXPECT_TRUE(rig.room->playerReady(0));
    EXPECT_FALSE(rig.room->playerReady(1));
    HandPose one, two;
    one.x = 240;
    one.sign = vision::kRock;
    two.x = 80;
    two.sign = vision::kRock;
    DrawnHand drawn[2];
    rig.show(one, two, drawn);
    expectReading(rig.cam, 1, drawn[0], vision::kRock, "one player calibrated");
    EXPECT_EQ(rig.cam.handIn2.load(), 0);

    // Without any calibration frame nothing is calibrated and a frame changes nothing.
    RoomVision fresh;
    std::string problem;
    EXPECT_FALSE(fresh.calibrate(problem));
    EXPECT_FALSE(fresh.calibrated());
    CWebCam untouched;
    fresh.read(rig.cam.images[0], untouched);
    EXPECT_EQ(untouched.baryX1.load(), vision::kHalfMiddleColumn);
}

}  // namespace
