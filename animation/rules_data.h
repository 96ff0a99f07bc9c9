#pragma once
// What the match rules read of the move library, as one constant value: taken once when the
// moves are read, then handed to every step, so that the rules need neither the library nor
// the scene that owns it.
#include <cstdint>

#include "animation/codes.h"

namespace animation {

struct RulesData {
    // The time of each move's last keyframe (0 while the moves are not read).
    int32_t moveLength[kMoveCount] = {};

    // A move number outside the table has length 0, as the library says.
    int length(int move) const { return move >= 0 && move < kMoveCount ? moveLength[move] : 0; }
};

}  // namespace animation
