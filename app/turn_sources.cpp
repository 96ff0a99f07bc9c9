#include "app/turn_sources.h"

#include "play/camera_source.h"

void TurnSources::start(const Options& options, uint64_t seed) {
    using play::PlayerSource;
    camera_ = anyPlayer(options, PlayerSource::CAMERA);
    onCamera_[0] = options.player1.kind == PlayerSource::CAMERA;
    onCamera_[1] = options.player2.kind == PlayerSource::CAMERA;
    keyboard_.drive(1, options.player1.kind == PlayerSource::KEYBOARD);
    keyboard_.drive(2, options.player2.kind == PlayerSource::KEYBOARD);
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
    keyboard_.poll(world);
    if (computer_) computer_->fill(world.state(), world);
}
