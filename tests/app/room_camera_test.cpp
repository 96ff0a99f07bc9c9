// The guided calibration of the room recognition, pass by pass on a painted room with a clock
// of our own: the phases and their countdown, the start values while it runs, a missed palm
// said and the calibration repeated, F5's new calibration, and a half without a hand for two
// seconds of play.
#include "app/camera/room_camera.h"

#include <gtest/gtest.h>

#include "tests/vision/room_scene.h"

namespace {

using roomscene::HandPose;

// 32 frames a second: the clock adds up exactly.
constexpr double kFrame = 1.0 / 32;
constexpr auto kRelaxed = std::memory_order_relaxed;

struct Rig {
    CWebCam cam;
    roomscene::Scene scene;
    RoomCamera camera;
    double now = 0;

    // `seconds` of frames: palms on the marks (which players) or a hand of player 1 at (x, y).
    void run(double seconds, bool palm1, bool palm2, int handX = 0) {
        for (const double end = now + seconds; now < end - 1e-9; now += kFrame) {
            scene.room(cam);
            HandPose pose;
            pose.x = 240;
            if (palm1) scene.hand(pose, roomscene::kLightSkin);
            pose.x = 80;
            if (palm2) scene.hand(pose, roomscene::kDarkSkin);
            pose.x = handX;
            pose.sign = vision::kRock;
            if (handX) scene.hand(pose, roomscene::kLightSkin);
            camera.pass(cam, now);
        }
    }
    RoomCamera::Status status() const { return camera.status(now); }
    bool startValues() const {
        return cam.baryX1.load(kRelaxed) == 80 && cam.baryY1.load(kRelaxed) == 120 &&
               cam.rps1.load(kRelaxed) == 1 && cam.baryX2.load(kRelaxed) == 80 &&
               cam.rps2.load(kRelaxed) == 1 && cam.handIn1.load(kRelaxed) == 0;
    }
};

TEST(RoomCameraGuide, PhasesCountDownAMissedPalmRepeatsAndF5CalibratesAgain) {
    Rig rig;
    rig.cam.rps1.store(3);
    rig.run(0.5, false, false);
    EXPECT_EQ(rig.status().phase, CALIBRATION_STAND);
    EXPECT_NEAR(rig.status().secondsLeft, 0.5, 0.05);
    EXPECT_TRUE(rig.startValues()) << "a calibrating half must ask nothing of its fighter";

    // Player 2 keeps the hand down through the palm phase: said, then all again.
    rig.run(1.0, false, false);
    EXPECT_EQ(rig.status().phase, CALIBRATION_PALM);
    rig.run(0.6, true, false);
    EXPECT_EQ(rig.status().phase, CALIBRATION_NO_PALM);
    EXPECT_EQ(rig.status().missedPalms, 2);
    rig.run(1.0, false, false);
    EXPECT_EQ(rig.status().phase, CALIBRATION_STAND) << "a missed palm must start again";
    EXPECT_TRUE(rig.startValues());

    rig.run(1.0, false, false);
    rig.run(1.0, true, true);
    rig.run(kFrame, false, false);
    ASSERT_EQ(rig.status().phase, CALIBRATION_DONE);
    EXPECT_EQ(rig.status().missedPalms, 0);
    EXPECT_EQ(rig.camera.standFrames(), 32);
    EXPECT_EQ(rig.camera.palmFrames(), 32);

    // F5: the next pass calibrates from the standing phase again, its readings back at start.
    rig.run(0.5, false, false, 200);
    EXPECT_EQ(rig.cam.handIn1.load(kRelaxed), 1);
    rig.camera.calibrateAgain();
    rig.run(kFrame, false, false, 200);
    EXPECT_EQ(rig.status().phase, CALIBRATION_STAND);
    EXPECT_TRUE(rig.startValues());
}

TEST(RoomCameraGuide, AHalfThatSeesNoHandForTwoSecondsOfPlaySaysSoAndOnlyACameraHalf) {
    Rig rig;
    rig.run(1.0, false, false);
    rig.run(1.0, true, true);
    rig.run(1.9, false, false, 200);
    ASSERT_EQ(rig.status().phase, CALIBRATION_DONE);
    EXPECT_FALSE(rig.status().noHand[0]);
    EXPECT_FALSE(rig.status().noHand[1]) << "said before two seconds";
    rig.run(0.2, false, false, 200);
    EXPECT_FALSE(rig.status().noHand[0]);
    EXPECT_TRUE(rig.status().noHand[1]);
    // The hand leaves player 1's half.
    rig.run(2.1, false, false);
    EXPECT_TRUE(rig.status().noHand[0]);

    // Player 2 plays at the keyboard: only player 1's palm is asked for, and player 2's empty
    // half is nobody's concern.
    Rig alone;
    alone.camera = RoomCamera(1);
    alone.run(1.0, false, false);
    alone.run(1.0, true, false);
    alone.run(2.5, false, false, 200);
    ASSERT_EQ(alone.status().phase, CALIBRATION_DONE);
    EXPECT_FALSE(alone.status().noHand[1]);
    EXPECT_FALSE(alone.status().noHand[0]);
}

}  // namespace
