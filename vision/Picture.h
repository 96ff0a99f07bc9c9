// The camera picture as every layer above sees it: its size, the two players' halves and the
// sign codes the recognition reads from them. Anything that must agree with the recognition
// about where a hand is or which sign it shows takes these names from here.
#pragma once

#include <cstdint>

namespace vision {

constexpr int kFrameWidth = 320;
constexpr int kFrameHeight = 240;
constexpr int kFramePixels = kFrameWidth * kFrameHeight;

// Player 2 owns columns 0 .. kHalfWidth - 1, player 1 the columns from kHalfWidth on.
constexpr int kHalfWidth = kFrameWidth / 2;
// The middle of a half picture, counted from that half's left edge and from the top: where a
// hand centre rests before the first frame, and the point a hand's direction is measured from.
constexpr int kHalfMiddleColumn = kHalfWidth / 2;
constexpr int kMiddleRow = kFrameHeight / 2;

// The values of rps1 and rps2.
enum HandSign : int32_t { kNoSign = 0, kRock = 1, kPaper = 2, kScissors = 3 };

}  // namespace vision

// The frame size has always been named without the namespace; both spellings stay valid.
using vision::kFrameHeight;
using vision::kFrameWidth;
