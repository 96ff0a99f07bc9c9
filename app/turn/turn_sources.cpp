#include "app/turn/turn_sources.h"

#include <cstdio>
#include <string>

#include "play/camera_source.h"

void TurnSources::start(const Options& options, uint64_t seed) {
    sides_.start(options.player1, options.player2, seed);
}

void TurnSources::take(World& world, const CWebCam& webcam) {
    const CameraReadings r = play::readCamera(webcam);
    world.handleWebcamEvents(r.baryX1, r.baryY1, r.baryX2, r.baryY2, r.rps1, r.rps2);
    world.takeRecord(sides_.take(world.state(), world.record()));
}

bool TurnSources::pollWhilePaused() {
    sides_.pollIdle();
    return false;
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
    std::fprintf(stderr, "vorlaxis: %s\n", error.c_str());
    return false;
}
