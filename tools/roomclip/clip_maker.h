// One clip of one condition: the calibration (the players standing with their hands down,
// then holding open palms on the marks) and then the test frames, with the truth of every
// frame.
#pragma once

#include <string>
#include <vector>

#include "tools/roomclip/conditions.h"
#include "tools/roomclip/hand_sprite.h"
#include "tools/roomclip/script.h"
#include "tools/roomclip/truth.h"

namespace roomclip {

// The marks the players hold their palms on in the calibration's second phase.
constexpr double kMarkX[2] = {240, 80};  // player 1, player 2 (frame columns)
constexpr double kMarkY = 130;
// Length of the open hand (wrist to fingertip) at the calibration, in picture pixels.
constexpr double kCalibrationLength = 72;

struct ClipSettings {
    int fps = 15;
    int testFrames = 120;
    int hold = 3;  // frames a pose is held
    unsigned seed = 1;
    // When set, the frames after the calibration follow this script instead of random poses.
    const std::vector<ScriptSegment>* script = nullptr;
};

// The four shapes of one player's hand.
struct PlayerHand {
    std::vector<HandSprite> shapes;  // in the order of kHandShapes
    const HandSprite& shape(Shape s) const;
};

bool loadPlayerHand(const HandNotes& notes, PlayerHand& out, std::string& error);

// Writes the clip to `y4mPath` and its truth to `truthPath`.
bool makeClip(const Condition& condition, const PlayerHand* hands[2], const ClipSettings& settings,
              const std::string& y4mPath, const std::string& truthPath, std::string& error);

// Frame `frame` of the clip as it goes into the file (for looking at it).
bool previewFrame(const Condition& condition, const PlayerHand* hands[2],
                  const ClipSettings& settings, int frame, Image& out, std::string& error);

}  // namespace roomclip
