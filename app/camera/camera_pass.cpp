#include "app/camera/camera_pass.h"

#include <SDL/SDL.h>

#include <chrono>
#include <cstring>
#include <memory>

#include "app/camera/camera_recording.h"
#include "app/camera/room_camera.h"
#include "app/main.h"
#include "app/panel/panel_feed.h"
#include "vision/panel_layout.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// The designed worker's sleep after each pass.
constexpr int kWorkerSleepMs = 200;
// How often the room recognition looks for a new picture, and how long it waits for one before
// it redraws the panel anyway (a camera that stalls still shows the match).
constexpr int kPictureCheckMs = 4;
constexpr int kLongestWaitMs = 200;
// The slot that keeps the last picture read, to tell a new one by.
constexpr int kLastSlot = 1;

CameraPassSetup setup;
std::unique_ptr<RoomCamera> room;
bool calibrationRecorded = false;

double workerSeconds() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool samePicture(const Image& a, const Image& b) {
    for (int y = 0; y < vision::kFrameHeight; ++y)
        if (std::memcmp(a.pixels[y], b.pixels[y], sizeof(Pixel) * vision::kFrameWidth) != 0)
            return false;
    return true;
}

// Grabs into slot 0 until the picture differs from the last one read, or kLongestWaitMs
// passed (a still scene through a camera without noise: the picture held is read again); false
// when the worker is asked to stop meanwhile.
bool grabNextPicture() {
    for (int waited = 0; waited < kLongestWaitMs; waited += kPictureCheckMs) {
        WebCam.ChargeCapture(0);
        if (!samePicture(WebCam.images[0], WebCam.images[kLastSlot])) break;
        if (thread_signal.load(kRelaxed) == -1) return false;
        SDL_Delay(kPictureCheckMs);
    }
    WebCam.CopieImage(0, kLastSlot);
    return true;
}

void publish(const RoomCamera::Status& status) {
    panelFeed.calibration.store(status.phase, kRelaxed);
    panelFeed.calibrationLeftMs.store(static_cast<int32_t>(status.secondsLeft * 1000), kRelaxed);
    panelFeed.missedPalms.store(status.missedPalms, kRelaxed);
    for (int player = 0; player < 2; ++player)
        panelFeed.noHand[player].store(status.noHand[player], kRelaxed);
}

// The recording's header names the first calibration only when it is the one the game kept;
// one that missed a palm is said in the readings instead.
void recordCalibration() {
    const RoomCamera::Status status = room->status(workerSeconds());
    if (status.phase == CALIBRATION_NO_PALM) {
        setup.recording->calibratingAgain();
        calibrationRecorded = true;
    } else if (status.phase == CALIBRATION_DONE) {
        setup.recording->calibrated(room->standFrames(), room->palmFrames());
        calibrationRecorded = true;
    }
}

void roomPass() {
    if (panelFeed.calibrateAgain.exchange(false, kRelaxed)) {
        room->calibrateAgain();
        if (setup.recording) setup.recording->calibratingAgain();
    }
    if (grabNextPicture()) {
        if (setup.recording) setup.recording->add(WebCam.images[0]);
        room->pass(WebCam, workerSeconds());
        if (setup.recording) setup.recording->addReadings(WebCam);
        if (setup.recording && !calibrationRecorded) recordCalibration();
    }
    publish(room->status(workerSeconds()));
}

void classicPass() {
    WebCam.ChargeCapture(0);
    if (setup.recording) setup.recording->add(WebCam.images[0]);
    WebCam.CalBiCouleur(0);
    WebCam.calculBarycentre(0);
    WebCam.calculVariance(0);
    WebCam.discriminateRPS(0);
    if (setup.recording) setup.recording->addReadings(WebCam);
}

}  // namespace

void setUpCameraPass(const CameraPassSetup& chosen) {
    setup = chosen;
    room.reset();
    calibrationRecorded = false;
    if (setup.vision != VisionMode::ROOM) return;
    room = std::make_unique<RoomCamera>(setup.players);
    // Calibrating from before the worker's first pass: a network game waits for it.
    panelFeed.calibration.store(CALIBRATION_STAND, kRelaxed);
}

int cameraPass() {
    if (room)
        roomPass();
    else
        classicPass();
    displayResultsWebcam();
    WebCam.AfficheImage(0, panel::kMask1X, panel::kMask2X);
    return room ? 0 : kWorkerSleepMs;
}

void endCameraPass() {
    if (setup.recording) setup.recording->close();
}
