#pragma once
// The turn's record in a run with windows, from the sources of the command line and the
// settings, put together by play::TurnSides: each source adds only its own sides (the camera
// for the sides on the camera, the keys for the sides at the keyboard and, in every run, the
// few keys that act on the whole game, a pad for the sides on one, the computer for its
// sides); a side played elsewhere (the other machine) is left empty.
#include <cstdint>

#include "app/config/options.h"
#include "app/config/settings.h"
#include "app/run/turn.h"
#include "match/World.h"
#include "play/turn_sides.h"
#include "vision/WebCam.h"

class TurnSources : public RecordSource {
public:
    // The players' keys from the settings file, and the camera whose readings the camera's
    // sides take.
    void setUp(const Options& options, const CWebCam& webcam);
    void start(const Options& options, uint64_t seed) override;
    // Opens the pads of the sides that play with one, with the settings' buttons and pads;
    // false after saying which pad is missing. Call once the fight window is open.
    bool openGamepads(const Options& options);
    // Fills the record for the coming turn from every source.
    bool take(World& world, TurnInput& input) override;
    // Reads the keys and pads into a record that is dropped: the pass plays no turn (paused,
    // waiting, or the record comes from a replay).
    void pollWhilePaused();
    // What the keys and pads asked of the game since the last call, beside the match: pause
    // (P, Space while watching a replay, a pad's pause button), a lost focus, full screen.
    bool takePause();
    bool takeFocusLost() { return sides_.keyboard().takeFocusLost(); }
    bool takeFullscreen() { return sides_.keyboard().takeFullscreenKey(); }

private:
    const CWebCam* webcam_ = nullptr;
    play::TurnSides sides_;
    // A watched replay: no one plays at the keys, Space pauses.
    bool watching_ = false;
    bool space_ = false;
};
