#pragma once
// Who adds each side to the turn's record in a run with windows: the camera's readings for
// the sides on the camera, the keys for the sides at the keyboard (and, for every run, the few
// keys that act on the whole game), a pad for the sides on one, the computer for its sides.
// Each source adds only its own sides (play::TurnSides puts them together); a side played
// elsewhere (the other machine, a replay) is left empty.
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
    // The record for the coming turn from every source; the camera's readings go through the
    // designed World::handleWebcamEvents.
    bool take(World& world, TurnInput& input) override;
    // Reads the keys and pads into a record that is dropped: the pass plays no turn (paused,
    // waiting, or the record comes from a replay).
    void pollWhilePaused();
    // What the keys and pads asked of the game since the last call, beside the match: pause
    // (P, Space while watching a replay, a pad's pause button), a lost focus, full screen.
    bool takePause();
    bool takeFocusLost() { return sides_.keyboard().takeFocusLost(); }
    bool takeFullscreen() { return sides_.keyboard().takeFullscreenKey(); }
    bool takeCalibrate() { return sides_.keyboard().takeCalibrateKey(); }

private:
    const CWebCam* webcam_ = nullptr;
    // A watched replay: no one plays at the keys, Space pauses.
    bool watching_ = false;
    bool space_ = false;
    play::TurnSides sides_;
};
