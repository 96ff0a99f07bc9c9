#pragma once
// The turn's record in a run with windows, from the sources of the command line and the
// settings: the record itself is put together by play::TurnSides, each source adding only its
// own sides (the camera's for the sides on the camera, the keys' for the sides at the
// keyboard and the few keys that act on the whole game, the pads', the computer's).
#include <cstdint>

#include "app/config/options.h"
#include "app/config/settings.h"
#include "match/World.h"
#include "play/turn_sides.h"
#include "vision/WebCam.h"

class TurnSources {
public:
    void start(const Options& options, uint64_t seed);
    // Opens the pads of the sides that play with one, with the settings' buttons and pads;
    // false after saying which pad is missing. Call once the fight window is open.
    bool openGamepads(const Options& options);
    // The coming turn's record into the world's slots: the camera's readings through the
    // designed World::handleWebcamEvents, then the record of every source handed over whole.
    void take(World& world, const CWebCam& webcam);
    // Reads the keys and pads into a record that is dropped; always false (no turn is played).
    bool pollWhilePaused();
    // The keys, for what they do beside the match (pause, full screen) and the players' own.
    play::KeyboardSource& keyboard() { return sides_.keyboard(); }
    // Whether a pad's pause button was pressed since the last call.
    bool takePauseButton() { return sides_.gamepads().takePauseButton(); }

private:
    play::TurnSides sides_;
};
