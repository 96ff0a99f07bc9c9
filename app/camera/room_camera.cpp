#include "app/camera/room_camera.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
using vision::room::kPhaseSeconds;

// A pixel whose red, green and blue differ from the first standing frame by more than this in
// all shows as changed while the calibration forms.
constexpr int kFormingChange = 60;
// The mark drawn on the forming mask: a square this many pixels either side of its centre.
constexpr int kMarkReach = 12;

void setPixel(Pixel& p, uint8_t v) {
    p.r = p.g = p.b = v;
    p.couleur = v | v << 8 | v << 16;
}

void drawMark(Image& frame, int player) {
    const int cx = vision::room::markColumn(player), cy = vision::room::kMarkRow;
    for (int d = -kMarkReach; d <= kMarkReach; ++d) {
        setPixel(frame.pixels[cy - kMarkReach][cx + d], 255);
        setPixel(frame.pixels[cy + kMarkReach][cx + d], 255);
        setPixel(frame.pixels[cy + d][cx - kMarkReach], 255);
        setPixel(frame.pixels[cy + d][cx + kMarkReach], 255);
    }
}

bool needs(int players, int player) { return (players >> player) & 1; }

}  // namespace

void clearReadings(CWebCam& cam, int players) {
    if (needs(players, 0)) {
        cam.baryX1.store(vision::kHalfMiddleColumn, kRelaxed);
        cam.baryY1.store(vision::kMiddleRow, kRelaxed);
        cam.rps1.store(1, kRelaxed);
        cam.handIn1.store(0, kRelaxed);
    }
    if (needs(players, 1)) {
        cam.baryX2.store(vision::kHalfMiddleColumn, kRelaxed);
        cam.baryY2.store(vision::kMiddleRow, kRelaxed);
        cam.rps2.store(1, kRelaxed);
        cam.handIn2.store(0, kRelaxed);
    }
}

RoomCamera::RoomCamera(int players)
    : players_(players), firstFrame_(std::make_unique<Pixel[]>(vision::kFramePixels)) {}

void RoomCamera::calibrateAgain() {
    started_ = false;
    lastProblem_.clear();
}

void RoomCamera::startCalibration(double seconds) {
    room_ = std::make_unique<vision::room::RoomVision>();
    phase_ = CALIBRATION_STAND;
    phaseStart_ = seconds;
    frames_[0] = frames_[1] = 0;
    started_ = true;
}

void RoomCamera::pass(CWebCam& cam, double seconds) {
    if (!started_) startCalibration(seconds);
    if (phase_ == CALIBRATION_DONE)
        play(cam, seconds);
    else
        calibrating(cam, seconds);
}

void RoomCamera::calibrating(CWebCam& cam, double seconds) {
    clearReadings(cam, players_);
    Image& frame = cam.images[0];
    const bool phaseOver = seconds - phaseStart_ >= kPhaseSeconds;
    if (phaseOver && phase_ == CALIBRATION_NO_PALM) {
        startCalibration(seconds);
    } else if (phaseOver && phase_ == CALIBRATION_PALM) {
        // The frame that ends the calibration is the first one read.
        finishCalibration(seconds);
        if (phase_ == CALIBRATION_DONE) return play(cam, seconds);
    } else if (phaseOver && phase_ == CALIBRATION_STAND) {
        phase_ = CALIBRATION_PALM;
        phaseStart_ = seconds;
    }
    if (phase_ == CALIBRATION_STAND) {
        if (frames_[0]++ == 0)
            for (int y = 0; y < vision::kFrameHeight; ++y)
                std::copy(frame.pixels[y], frame.pixels[y] + vision::kFrameWidth,
                          &firstFrame_[static_cast<size_t>(y) * vision::kFrameWidth]);
        room_->addReference(frame);
    } else if (phase_ == CALIBRATION_PALM) {
        ++frames_[1];
        room_->addPalm(frame);
    }
    showForming(frame);
}

// The players see their hands come out of the room as they will be read: what changed from
// the room as it stood, with each camera player's mark while palms are asked for.
void RoomCamera::showForming(Image& frame) const {
    for (int y = 0; y < vision::kFrameHeight; ++y) {
        const Pixel* first = &firstFrame_[static_cast<size_t>(y) * vision::kFrameWidth];
        for (int x = 0; x < vision::kFrameWidth; ++x) {
            Pixel& p = frame.pixels[y][x];
            const bool changed = std::abs(p.r - first[x].r) > kFormingChange ||
                                 std::abs(p.g - first[x].g) > kFormingChange ||
                                 std::abs(p.b - first[x].b) > kFormingChange;
            setPixel(p, changed ? 255 : 0);
        }
    }
    if (phase_ != CALIBRATION_PALM && phase_ != CALIBRATION_NO_PALM) return;
    for (int player = 0; player < vision::room::kPlayers; ++player)
        if (needs(players_, player)) drawMark(frame, player);
}

void RoomCamera::finishCalibration(double seconds) {
    std::string problem;
    standFrames_ = frames_[0];
    palmFrames_ = frames_[1];
    const bool framesSeen = room_->calibrate(problem);
    missed_ = 0;
    // Only the halves this run calibrates are named: the menu's reads one player's.
    if (framesSeen) problem.clear();
    for (int player = 0; player < vision::room::kPlayers; ++player) {
        if (!needs(players_, player) || room_->playerReady(player)) continue;
        missed_ |= 1 << player;
        if (framesSeen)
            problem += (problem.empty() ? "" : "; ") + vision::room::RoomVision::missedPalm(player);
    }
    phaseStart_ = seconds;
    if (missed_ != 0) {
        if (problem != lastProblem_)
            std::fprintf(stderr, "vorlaxis: %s; calibrating again\n", problem.c_str());
        lastProblem_ = problem;
        phase_ = CALIBRATION_NO_PALM;
        return;
    }
    phase_ = CALIBRATION_DONE;
    lastProblem_.clear();
    lastHand_[0] = lastHand_[1] = seconds;
    std::printf("Room recognition: calibrated\n");
    std::fflush(stdout);
}

void RoomCamera::play(CWebCam& cam, double seconds) {
    Image& frame = cam.images[0];
    room_->read(frame, cam);
    for (int player = 0; player < vision::room::kPlayers; ++player)
        if (room_->hand(player).found) lastHand_[player] = seconds;
    room_->drawMask(frame);
}

RoomCamera::Status RoomCamera::status(double seconds) const {
    Status s;
    s.phase = started_ ? phase_ : CALIBRATION_STAND;
    s.missedPalms = missed_;
    if (s.phase != CALIBRATION_DONE) {
        const double left = started_ ? kPhaseSeconds - (seconds - phaseStart_) : kPhaseSeconds;
        s.secondsLeft = left > 0 ? left : 0;
        return s;
    }
    for (int player = 0; player < vision::room::kPlayers; ++player)
        s.noHand[player] = needs(players_, player) && seconds - lastHand_[player] >= kNoHandSeconds;
    return s;
}
