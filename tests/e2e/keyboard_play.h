// Playing a keyboard game through its windows: keys sent to one window with xdotool, and
// waiting for what the fight window or the control panel shows. Several games may share the
// display, so every call names the window it means.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "tests/e2e/screen.h"

namespace e2e {

// Each step may take as long as a start: instrumented builds play few turns a second.
constexpr int kStepSeconds = kStartSeconds;

// The keyboard panel's readouts: player 2's life, player 1's matches won.
constexpr Area kLife2 = {770, 120, 880, 140};
constexpr Area kWon1 = {330, 140, 440, 160};

inline void xdotool(const std::string& command) { capture("xdotool " + command + " 2>/dev/null"); }
inline void pressKey(const std::string& window, const std::string& key) {
    xdotool("key --window " + window + " " + key);
}

// Takes shots of `window` until `test` holds for one, running `between` before each; false
// when the game ends or the step's time passes first. The last shot stays in `shot`.
inline bool waitFor(GameProcess& game, const std::string& window,
                    const std::function<bool(const Shot&)>& test, Shot& shot,
                    const std::function<void()>& between = {}) {
    bool held = false;
    testwait::waitUntil(
        [&] {
            if (!game.running()) return true;
            if (between) between();
            held = screenshot(window, shot) && shot.width >= 800 && test(shot);
            return held;
        },
        kStepSeconds, std::chrono::milliseconds(200));
    return held;
}

// A readout row drawn whole: the worker writes the label, then the number, so a shot taken
// halfway through a pass can show the label alone. The number stands at the row's left, the
// label at its right.
inline bool wholeRow(const Shot& s, const Area& row) {
    return count(s, {row.x0, row.y0, row.x0 + 30, row.y1}, lit) > 10 &&
           count(s, {row.x1 - 40, row.y0, row.x1, row.y1}, lit) > 10;
}

// What the panel shows of player 2's life and player 1's matches won.
struct PanelRead {
    std::string life2, won1;
    bool operator==(const PanelRead& o) const { return life2 == o.life2 && won1 == o.won1; }
};

// Waits until the panel reads the same in two shots in a row (the worker is not halfway
// through a pass) and `test` holds for what it reads; `between` runs before each shot.
inline bool waitForPanel(GameProcess& game, const std::string& panel,
                         const std::function<bool(const Shot&, const PanelRead&)>& test,
                         PanelRead& read, const std::function<void()>& between = {}) {
    PanelRead previous;
    Shot shot;
    return waitFor(
        game, panel,
        [&](const Shot& s) {
            const PanelRead now{pixelsOf(s, kLife2), pixelsOf(s, kWon1)};
            const bool steady = now == previous;
            previous = now;
            read = now;
            return steady && test(s, now);
        },
        shot, between);
}

}  // namespace e2e
