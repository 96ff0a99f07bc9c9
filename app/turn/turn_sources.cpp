#include "app/turn/turn_sources.h"

#include <cstdio>
#include <string>

#include "play/camera_source.h"

void TurnSources::start(const Options& options, uint64_t seed) {
    using play::PlayerSource;
    camera_ = anyPlayer(options, PlayerSource::CAMERA);
    onCamera_[0] = options.player1.kind == PlayerSource::CAMERA;
    onCamera_[1] = options.player2.kind == PlayerSource::CAMERA;
    keyboard_.drive(1, options.player1.kind == PlayerSource::KEYBOARD);
    keyboard_.drive(2, options.player2.kind == PlayerSource::KEYBOARD);
    gamepad_ = anyPlayer(options, PlayerSource::GAMEPAD);
    gamepads_.drive(1, options.player1.kind == PlayerSource::GAMEPAD);
    gamepads_.drive(2, options.player2.kind == PlayerSource::GAMEPAD);
    computer_ = std::make_unique<play::ComputerPlayers>(options.player1, options.player2, seed);
}

// The camera's route reads both halves of the picture: a side not on the camera has its
// slots cleared again before its own source fills them. The rules themselves refuse the
// input while a match starts or ends.
void TurnSources::take(World& world, const CWebCam& webcam) {
    if (camera_)
        play::takeCameraReadings(world, webcam);
    else
        world.setInputs();
    for (int player = 1; player <= 2; ++player)
        if (!onCamera_[player - 1]) world.clearPlayer(player);
    if (gamepad_) gamepads_.poll(world);
    keyboard_.poll(world);
    if (computer_) computer_->fill(world.state(), world);
}

bool TurnSources::pollWhilePaused() {
    TurnInput dropped;
    if (gamepad_) gamepads_.poll(dropped);
    keyboard_.poll(dropped);
    return false;
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
