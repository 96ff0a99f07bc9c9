#pragma once
// Who fills each side of the turn's record in a run with windows: the camera's readings for
// the sides on the camera, the keys for the sides at the keyboard (and the few keys that act
// on the whole game), the computer for its sides. Each source writes only its own sides.
#include <cstdint>
#include <memory>

#include "app/config/options.h"
#include "match/World.h"
#include "app/config/settings.h"
#include "play/computer_players.h"
#include "play/gamepad_source.h"
#include "play/keyboard_source.h"
#include "vision/WebCam.h"

class TurnSources {
public:
    void start(const Options& options, uint64_t seed);
    // Opens the pads of the sides that play with one, with the settings' buttons and pads;
    // false after saying which pad is missing. Call once the fight window is open.
    bool openGamepads(const Options& options);
    // Fills the world's record for the coming turn from every source.
    void take(World& world, const CWebCam& webcam);
    // Reads the keys and pads into a record that is dropped; always false (no turn is played).
    bool pollWhilePaused();
    // The keys, for what they do beside the match (pause, full screen) and the players' own.
    play::KeyboardSource& keyboard() { return keyboard_; }
    // Whether a pad's pause button was pressed since the last call.
    bool takePauseButton() { return gamepads_.takePauseButton(); }

private:
    bool camera_ = false;
    bool onCamera_[2] = {false, false};
    play::KeyboardSource keyboard_;
    play::GamepadSource gamepads_;
    bool gamepad_ = false;
    std::unique_ptr<play::ComputerPlayers> computer_;
};
