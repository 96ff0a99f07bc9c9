#include "play/turn_sides.h"

namespace play {

void TurnSides::start(const PlayerSource& one, const PlayerSource& two, uint64_t seed) {
    const PlayerSource* sides[] = {&one, &two};
    gamepad_ = false;
    for (int player = 1; player <= 2; ++player) {
        const PlayerSource::Kind kind = sides[player - 1]->kind;
        onCamera_[player - 1] = kind == PlayerSource::CAMERA;
        keyboard_.drive(player, kind == PlayerSource::KEYBOARD);
        gamepads_.drive(player, kind == PlayerSource::GAMEPAD);
        gamepad_ = gamepad_ || kind == PlayerSource::GAMEPAD;
    }
    computer_ = std::make_unique<ComputerPlayers>(one, two, seed);
}

TurnInput TurnSides::take(const MatchState& state, const TurnInput& camera) {
    TurnInput record;
    for (int player = 1; player <= 2; ++player)
        if (onCamera_[player - 1]) record.takePlayer(player, camera);
    if (gamepad_) gamepads_.poll(record);
    keyboard_.poll(record);
    if (computer_) computer_->fill(state, record);
    return record;
}

TurnInput TurnSides::take(const MatchState& state, const CameraReadings& camera) {
    return take(state, cameraCounts(state) ? cameraInput(camera) : TurnInput());
}

TurnInput TurnSides::pollIdle() {
    TurnInput dropped;
    if (gamepad_) gamepads_.poll(dropped);
    keyboard_.poll(dropped);
    return dropped;
}

}  // namespace play
