// One hand photo cut into a sign: the fingers that sign does not raise cut off at the
// knuckles, the raised ones turned about their bases. Kept as premultiplied RGBA at the
// photo's own size, with halved copies for drawing it small.
#pragma once

#include <string>
#include <vector>

#include "tools/roomclip/hand_photo.h"

namespace roomclip {

enum class Shape { None, Rock, PaperSpread, PaperFlat, Scissors };
constexpr Shape kHandShapes[] = {Shape::Rock, Shape::PaperSpread, Shape::Scissors,
                                 Shape::PaperFlat};

// The sign code the readings use: 1 rock, 2 paper, 3 scissors; 0 for no hand.
int signOf(Shape shape);
const char* nameOf(Shape shape);

struct HandSprite {
    Shape shape = Shape::None;
    std::vector<Image> levels;  // level k: 4 channels at 1 / 2^k of the photo's size
    Point origin;               // photo coordinates of the sprite's top-left corner
    Point centre;               // centre of the hand's own pixels, photo coordinates
    Point wristCentre, axis, across;
    double wristHalfWidth = 0;
    double length = 0;  // from the wrist to the farthest fingertip, along the axis
    float skin[3] = {0, 0, 0};
    std::vector<Point> outline;  // a sample of the hand's pixels, for keeping it in the picture
    Point boxMin, boxMax;        // photo coordinates of every pixel the sprite covers at all
};

HandSprite makeSprite(const HandPhoto& photo, Shape shape);

}  // namespace roomclip
