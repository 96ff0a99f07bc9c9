// Where the room recognition looks: the players' halves, the marks their palms cover while it
// calibrates, and how long each calibration phase lasts.
#pragma once

#include "vision/Picture.h"

namespace vision::room {

constexpr int kPlayers = 2;
// Player index 0 is player 1 (the right half of the camera picture), 1 is player 2.
constexpr int halfStart(int player) { return player == 0 ? kHalfWidth : 0; }

// The centre of each player's palm during the second calibration phase: the middle of the
// player's half, 130 rows from the top.
constexpr int kMarkRow = 130;
constexpr int markColumn(int player) { return halfStart(player) + kHalfMiddleColumn; }

// Each calibration phase lasts one second: first the players stand with their hands down
// (the reference picture), then each holds an open palm on the mark (the skin sample).
constexpr double kPhaseSeconds = 1.0;

}  // namespace vision::room
