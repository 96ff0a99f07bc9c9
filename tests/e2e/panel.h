// What the control panel should show of a camera filming four coloured quadrants (red,
// green / blue, white): the live preview, and the mask the worker draws from it.
#pragma once

#include <cstdlib>
#include <sstream>
#include <string>

#include "tests/e2e/screen.h"
#include "vision/panel_layout.h"

namespace e2e {

// Expected quadrant colours.
const Mean kQuadrants[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

inline bool previewShowsQuadrants(const Shot& shot, std::string& why) {
    if (shot.width < panel::kPreviewRight || shot.height < 240) {
        why = "panel is " + std::to_string(shot.width) + "x" + std::to_string(shot.height);
        return false;
    }
    for (int q = 0; q < 4; ++q) {
        const int x0 = panel::kPreviewX + (q % 2) * 160 + 10, y0 = (q / 2) * 120 + 10;
        const Mean m = meanOf(shot, x0, y0, x0 + 140, y0 + 100);
        const Mean& want = kQuadrants[q];
        if (std::abs(m.r - want.r) > 8 || std::abs(m.g - want.g) > 8 ||
            std::abs(m.b - want.b) > 8) {
            std::ostringstream s;
            s << "quadrant " << q << " mean (" << m.r << ", " << m.g << ", " << m.b << ")";
            why = s.str();
            return false;
        }
    }
    return true;
}

// The worker grabs the preview back (ChargeCapture) and shows its mask mirrored: against the
// mean grey only the white quadrant is a hand, and it lies in player 1's half (frame columns
// 160..319), rows 120..239. Player 2's half stays empty.
inline bool maskShowsTheWhiteQuadrant(const Shot& shot, std::string& why) {
    const struct {
        int x0, y0;
        double level;
    } areas[] = {{panel::kMask1X + 10, 130, 255},
                 {panel::kMask1X + 10, 10, 0},
                 {panel::kMask2X + 10, 10, 0},
                 {panel::kMask2X + 10, 130, 0}};
    for (const auto& a : areas) {
        const Mean m = meanOf(shot, a.x0, a.y0, a.x0 + 140, a.y0 + 100);
        if (std::abs(m.r - a.level) > 8 || std::abs(m.g - a.level) > 8 ||
            std::abs(m.b - a.level) > 8) {
            std::ostringstream s;
            s << "mask at (" << a.x0 << ", " << a.y0 << ") mean (" << m.r << ", " << m.g << ", "
              << m.b << ")";
            why = s.str();
            return false;
        }
    }
    return true;
}

}  // namespace e2e
