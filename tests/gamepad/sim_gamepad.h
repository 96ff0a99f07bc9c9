// The simulated gamepads (tests/gamepadsim) for tests: loading the library and writing the
// pads' scripts (the format is described in tests/gamepadsim/sim_pad.h).
#pragma once

#include <string>
#include <vector>

#include "tests/support/preload.h"

namespace simpad {

inline std::string libraryPath() {
    return std::string(VORLAXIS_BIN_DIR) + "/tests/gamepadsim/libgamepadsim.so";
}

// Environment entries (NAME=VALUE) that load the simulation into a child process.
inline std::vector<std::string> preloadEnvironment() {
    return testsupport::preloadEnvironment(libraryPath());
}

// Restarts the running test program with the simulation loaded, once, before any test runs.
inline bool restartWithSimulation() { return testsupport::restartPreloaded(libraryPath()); }

// One pad's line of VORLAXIS_PADSIM: its make, then its steps added in order.
class Pad {
public:
    explicit Pad(const std::string& name, int axes = 2, int buttons = 12, int hats = 1)
        : text_(name + "," + std::to_string(axes) + "," + std::to_string(buttons) + "," +
                std::to_string(hats) + ":") {}
    Pad& step(const std::string& step) {
        text_ += " " + step;
        return *this;
    }
    Pad& wait(int passes) { return step("wait:" + std::to_string(passes)); }
    Pad& axis(int axis, int value) {
        return step("axis:" + std::to_string(axis) + "=" + std::to_string(value));
    }
    // A press, held for `passes` passes, then let go.
    Pad& tap(int button, int passes = 1) {
        step("down:" + std::to_string(button));
        if (passes > 1) wait(passes - 1);
        return step("up:" + std::to_string(button));
    }
    Pad& unplug() { return step("unplug"); }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

inline std::string script(const std::vector<Pad>& pads) {
    std::string text;
    for (const Pad& pad : pads) text += (text.empty() ? "" : ";") + pad.text();
    return text;
}

// A whole fight for one pad: walk towards the other player (`direction` 1 right, -1 left) for
// `walkPasses`, then paper and scissors in turn, `presses` in all, `gap` passes apart.
inline Pad fightingPad(int direction, int walkPasses, int presses, int gap, int paper = 1,
                       int scissors = 2) {
    Pad pad("Simulated Fight Pad");
    pad.axis(0, 32767 * direction).wait(walkPasses).axis(0, 0);
    for (int press = 0; press < presses; ++press) pad.tap(press % 2 ? scissors : paper).wait(gap);
    return pad;
}

}  // namespace simpad
