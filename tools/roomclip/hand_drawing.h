// Drawing a hand sprite, with its forearm, into a picture at a place, size and tilt.
#pragma once

#include "tools/roomclip/hand_sprite.h"

namespace roomclip {

// What the forearm wears from some way below the wrist (in hand lengths) down.
struct Arm {
    bool shown = true;
    float sleeve[3] = {0, 0, 0};
    double sleeveFrom = 0;  // 0: the sleeve reaches the wrist; a large value: a bare arm
};

struct HandPose {
    const HandSprite* sprite = nullptr;
    Point centre;            // where the centre of the hand's own pixels goes, picture pixels
    double scale = 0.2;      // picture pixels per photo pixel
    double tilt = 0;         // radians, positive turns the fingers to the picture's right
    bool otherHand = false;  // the photo's hand mirrored: a left hand for a right one
    Arm arm;
    float light = 1.0f;  // gain on the hand and the arm
};

// Draws `pose` into the columns [left, right) of `picture` and adds the hand's own coverage
// (0..1, forearm excluded) to `coverage` (one channel, the picture's size), scaled by
// `weight` (the share of a motion-blurred frame this position stands for).
void drawHand(const HandPose& pose, int left, int right, Image& picture, Image& coverage,
              float weight = 1.0f);

// The box (picture pixels) that the hand's own pixels cover when drawn as `pose`.
void handBounds(const HandPose& pose, double& x0, double& y0, double& x1, double& y1);

}  // namespace roomclip
