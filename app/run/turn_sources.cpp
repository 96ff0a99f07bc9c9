#include "app/run/turn_sources.h"

#include <SDL/SDL_keysym.h>

#include <cstdio>
#include <string>

#include "play/camera_source.h"

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
        keyboard_.setKeys(player, keys);
    }
}

void TurnSources::start(const Options& options, uint64_t seed) {
    using play::PlayerSource;
    watching_ = !options.replay.empty();
    camera_ = anyPlayer(options, PlayerSource::CAMERA) && !watching_;
    onCamera_[0] = options.player1.kind == PlayerSource::CAMERA;
    onCamera_[1] = options.player2.kind == PlayerSource::CAMERA;
    keyboard_.drive(1, options.player1.kind == PlayerSource::KEYBOARD);
    keyboard_.drive(2, options.player2.kind == PlayerSource::KEYBOARD);
    gamepad_ = anyPlayer(options, PlayerSource::GAMEPAD) && !watching_;
    gamepads_.drive(1, options.player1.kind == PlayerSource::GAMEPAD);
    gamepads_.drive(2, options.player2.kind == PlayerSource::GAMEPAD);
    if (watching_) {
        // Space is read as player 1's only key, into records that are dropped: the keyboard
        // source knows no key of its own for it.
        keyboard_.setKeys(1, {SDLK_UNKNOWN, SDLK_UNKNOWN, SDLK_UNKNOWN, SDLK_UNKNOWN, SDLK_SPACE,
                              SDLK_UNKNOWN, SDLK_UNKNOWN});
        keyboard_.drive(1, true);
        keyboard_.drive(2, false);
        return;
    }
    computer_ = std::make_unique<play::ComputerPlayers>(options.player1, options.player2, seed);
}

// The camera's route reads both halves of the picture: a side not on the camera has its
// slots cleared again before its own source adds to them. The rules themselves refuse the
// input while a match starts or ends.
bool TurnSources::take(World& world, TurnInput& input) {
    if (camera_) {
        play::takeCameraReadings(world, *webcam_);
        input = world;
        for (int player = 1; player <= 2; ++player)
            if (!onCamera_[player - 1]) input.clearPlayer(player);
    }
    if (gamepad_) gamepads_.poll(input);
    keyboard_.poll(input);
    if (computer_) computer_->fill(world.state(), input);
    return true;
}

void TurnSources::pollWhilePaused() {
    TurnInput dropped;
    if (gamepad_) gamepads_.poll(dropped);
    keyboard_.poll(dropped);
    space_ = space_ || (watching_ && dropped.sign1 == World::ROCK);
}

bool TurnSources::takePause() {
    const bool space = space_;
    space_ = false;
    return keyboard_.takePauseKey() | gamepads_.takePauseButton() | space;
}

bool TurnSources::openGamepads(const Options& options) {
    if (!gamepad_) return true;
    const Settings& s = options.settings;
    gamepads_.setControls(
        {s.rockButton, s.paperButton, s.scissorsButton, s.pauseButton, s.walkAxis, s.deadZone});
    for (int player = 1; player <= 2; ++player) gamepads_.setPad(player, s.gamepad[player - 1]);
    std::string error;
    if (gamepads_.open(error)) return true;
    std::fprintf(stderr, "vorlaxis: %s\n", error.c_str());
    return false;
}
