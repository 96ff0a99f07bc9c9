#pragma once
// The one door of a turn's input on this machine: each turn a fresh record, to which every
// source adds only its own sides. The camera adds the sides played before it (when the match
// takes its readings), a pad the sides played with a pad, the keys the sides played at the
// keyboard and the few keys that act on the whole match, the computer its own sides from the
// match as it stands. A replay or the other game of a network match stands for sides instead;
// they hand over whole records of their own.
#include <cstdint>
#include <memory>

#include "match/MatchState.h"
#include "match/Rules.h"
#include "match/TurnInput.h"
#include "play/computer_players.h"
#include "play/gamepad_source.h"
#include "play/keyboard_source.h"
#include "play/player_source.h"

namespace play {

class TurnSides {
public:
    // Which source plays each side; the computer's sides draw from `seed`. The keys drive
    // the keyboard's sides, the pads the gamepad's (open them once the fight window is open).
    void start(const PlayerSource& one, const PlayerSource& two, uint64_t seed);

    // The coming turn's record. `camera` is the camera's part for both sides, as
    // World::handleWebcamEvents leaves the slots (nothing while the match does not take it);
    // only the sides played before the camera keep it.
    TurnInput take(const MatchState& state, const TurnInput& camera);
    // The same from the camera's six readings.
    TurnInput take(const MatchState& state, const CameraReadings& camera);
    // Reads the keys and pads into a record that is not played: no turn is played, but P,
    // F11 and Escape still act and the pads' buttons do not pile up. The record is returned
    // for what a run may make of its keys beside the match.
    TurnInput pollIdle();

    // The keys, for what they do beside the match (pause, full screen) and the players' own.
    KeyboardSource& keyboard() { return keyboard_; }
    GamepadSource& gamepads() { return gamepads_; }
    bool anyGamepad() const { return gamepad_; }
    bool anyCamera() const { return onCamera_[0] || onCamera_[1]; }

private:
    bool onCamera_[2] = {false, false};
    KeyboardSource keyboard_;
    GamepadSource gamepads_;
    bool gamepad_ = false;
    std::unique_ptr<ComputerPlayers> computer_;
};

}  // namespace play
