// The room recognition on the live camera, with the players guided through its calibration:
// for a second they stand in place with their hands down (the picture of the room), for the
// next each holds an open palm on the mark of their half. A calibration that finds no palm on
// a mark of a camera player says so for a second and starts again; F5 starts one at any time.
// While it runs, the calibrating halves read as at the start (no sign, hand in the middle),
// and slot 0 shows what the recognition sees so far. Once calibrated every pass is read.
#pragma once

#include <memory>
#include <string>

#include "app/camera/calibration_phase.h"
#include "vision/WebCam.h"
#include "vision/room/RoomVision.h"

class RoomCamera {
public:
    using Phase = CalibrationPhase;

    // What the players are told: the phase, the seconds left in it, which players' palms the
    // last calibration missed (bit 0 player 1, bit 1 player 2) and, in play, which camera
    // halves have seen no hand for kNoHandSeconds.
    struct Status {
        Phase phase = CALIBRATION_STAND;
        double secondsLeft = 0;
        int missedPalms = 0;
        bool noHand[2] = {false, false};
    };

    static constexpr double kNoHandSeconds = 2.0;

    // `players`: the players on the camera, whose palms the calibration needs (bit 0 player
    // 1, bit 1 player 2).
    explicit RoomCamera(int players = 3);

    // Works on the frame just grabbed into slot 0, `seconds` on the worker's clock: calibrates
    // or reads; either way slot 0 then holds the mask to show.
    void pass(CWebCam& cam, double seconds);
    // Throws the calibration away and starts a new one on the next pass.
    void calibrateAgain();
    Status status(double seconds) const;
    // How many frames each phase of the last calibration took (zero until one ended).
    int standFrames() const { return standFrames_; }
    int palmFrames() const { return palmFrames_; }

private:
    void startCalibration(double seconds);
    void calibrating(CWebCam& cam, double seconds);
    void finishCalibration(double seconds);
    void showForming(Image& frame) const;
    void play(CWebCam& cam, double seconds);

    std::unique_ptr<vision::room::RoomVision> room_;
    int players_;
    Phase phase_ = CALIBRATION_STAND;
    bool started_ = false;
    double phaseStart_ = 0;
    int frames_[2] = {0, 0};
    int standFrames_ = 0, palmFrames_ = 0;
    int missed_ = 0;
    // The last miss said on stderr: a calibration that keeps missing the same way says so once.
    std::string lastProblem_;
    double lastHand_[2] = {0, 0};
    // The first frame of the standing phase: the palm phase shows what changed from it.
    std::unique_ptr<Pixel[]> firstFrame_;
};

// The readings the camera starts with, for the players in `players` (bits as above): while a
// half calibrates it asks nothing of its fighter.
void clearReadings(CWebCam& cam, int players);
