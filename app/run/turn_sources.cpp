#include "app/run/turn_sources.h"

#include <SDL/SDL_keysym.h>

#include <cstdio>
#include <string>

#include "play/camera_source.h"
#include "app/run/run_failure.h"

// The players' own keys; up and down stay on their defaults (no rule reads them).
void TurnSources::setUp(const Options& options, const CWebCam& webcam) {
    webcam_ = &webcam;
    for (int player = 1; player <= 2; ++player) {
        const ::PlayerKeys& set = options.settings.keys[player - 1];
        play::PlayerKeys keys = play::KeyboardSource::defaultKeys(player);
        keys.left = set.left;
        keys.right = set.right;
        keys.rock = set.rock;
        keys.paper = set.paper;
        keys.scissors = set.scissors;
        sides_.keyboard().setKeys(player, keys);
    }
}

void TurnSources::start(const Options& options, uint64_t seed) {
    watching_ = !options.replay.empty();
    if (watching_) {
        // Space is read as player 1's only key, into records that are dropped: the keyboard
        // source knows no key of its own for it.
        play::KeyboardSource& keyboard = sides_.keyboard();
        keyboard.setKeys(1, {SDLK_UNKNOWN, SDLK_UNKNOWN, SDLK_UNKNOWN, SDLK_UNKNOWN, SDLK_SPACE,
                             SDLK_UNKNOWN, SDLK_UNKNOWN});
        keyboard.drive(1, true);
        keyboard.drive(2, false);
        return;
    }
    sides_.start(options.player1, options.player2, seed);
}

// The camera's route reads both halves of the picture; only the sides on the camera keep its
// part. The rules themselves refuse the input while a match starts or ends.
bool TurnSources::take(World& world, TurnInput& input) {
    if (sides_.anyCamera()) {
        const CameraReadings r = play::readCamera(*webcam_);
        world.handleWebcamEvents(r.baryX1, r.baryY1, r.baryX2, r.baryY2, r.rps1, r.rps2);
    }
    input = sides_.take(world.state(), world.record());
    return true;
}

void TurnSources::pollWhilePaused() {
    const TurnInput dropped = sides_.pollIdle();
    space_ = space_ || (watching_ && dropped.sign1 == World::ROCK);
}

bool TurnSources::takePause() {
    const bool space = space_;
    space_ = false;
    return sides_.keyboard().takePauseKey() | sides_.gamepads().takePauseButton() | space;
}

bool TurnSources::openGamepads(const Options& options) {
    if (!sides_.anyGamepad()) return true;
    const Settings& s = options.settings;
    play::GamepadSource& gamepads = sides_.gamepads();
    gamepads.setControls(
        {s.rockButton, s.paperButton, s.scissorsButton, s.pauseButton, s.walkAxis, s.deadZone});
    for (int player = 1; player <= 2; ++player) gamepads.setPad(player, s.gamepad[player - 1]);
    std::string error;
    if (gamepads.open(error)) return true;
    reportFailure("vorlaxis: " + error);
    return false;
}
