#pragma once
// The menu's hand on the camera: the webcam worker's latest reading of one half, taken on the
// main thread, and the HandPointer step it makes.
#include <cstdint>
#include <vector>

#include "app/menu/hand_pointer.h"

class CWebCam;
struct PanelFeed;

namespace menu {

// The half whose hand steers the menu: player 2's (the left half of the picture as the camera
// delivers it, the right one on the mirrored panel and for the players facing it).
constexpr int kMenuHandPlayer = 2;

// `player`'s reading in `cam` (1 for player 1, any other value for player 2); no hand until
// `feed` says the room recognition is calibrated. The worker writes the values one by one:
// they are read again until two readings agree, so that a reading is never half of one pass
// and half of the next.
HandReading readHand(const CWebCam& cam, const PanelFeed& feed, int player = kMenuHandPlayer);

// Each frame of the menu, on the main thread: the game's camera reading of kMenuHandPlayer
// stepped into `pointer` at `nowMs` (the main thread's clock, in milliseconds).
HandPointer::Step handStep(HandPointer& pointer, int64_t nowMs, const std::vector<bool>& byHand,
                           int highlighted);

}  // namespace menu
