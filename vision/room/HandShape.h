// A hand out of one blob: the palm's centre where the blob is thickest (the maximum of its
// distance transform), the forearm cut off at the wrist, and the sign read from the fingers
// that stand out around the palm (none: rock, one or two: scissors, three or more: paper).
#pragma once

#include <cstdint>
#include <vector>

#include "vision/room/BlobFinder.h"

namespace vision::room {

struct HandFacts {
    // The radius of the largest disc inside the blob: the palm's size.
    float palmRadius = 0;
    // The palm's centre, frame coordinates.
    float palmX = 0, palmY = 0;
    // The palm radius the fingers were looked for with.
    float scale = 0;
    // The hand's own pixels (wrist to fingertips): their count and the sums of their columns,
    // rows and squares.
    int64_t count = 0;
    int64_t sumX = 0, sumY = 0, sumXX = 0, sumYY = 0;
    // Fingers counted around the palm, and the sign they make.
    int fingers = 0;
    int32_t sign = 0;
};

class HandShape {
public:
    // `palmRadius`, when above 0, is the size of the player's palm as calibrated: the fingers
    // are looked for at distances from the palm's centre in proportion to it.
    HandFacts measure(const Patch& blob, float palmRadius = 0);
    // The radius of the largest disc inside the blob last measured whose centre lies within
    // `reach` pixels of (x, y), patch coordinates, in each direction.
    float thicknessNear(int x, int y, int reach) const;

private:
    void distanceTransform(const Patch& blob);
    void findPalm(const Patch& blob, float thickness, HandFacts& facts) const;
    // The direction from the palm's centre to the wrist: along the forearm when the blob
    // reaches further than fingers do, else towards what hangs below the palm, else down.
    void findWrist(const Patch& blob, const HandFacts& facts, float& ax, float& ay) const;
    int countFingers(const Patch& hand, const HandFacts& facts, float ax, float ay) const;
    // The hand's shape beside its fingers, in pixels.
    struct Outline {
        // How far it reaches from the palm's centre away from the wrist, and its width
        // across the wrist's direction.
        float reach = 0, width = 0;
        // The ratio of its length to its width along its principal axes (1: round).
        float elongation = 1;
        // The length of the circle around the palm's centre, part way to the fingertips,
        // that lies on the hand.
        float fingersCover = 0;
    };
    static int32_t signOf(const HandFacts& facts, const Outline& outline);
    static float elongationOf(const HandFacts& facts, double sumXY);
    // Marks the points of the circle of `radius` around the palm's centre that lie on the
    // hand, away from the wrist (1 on, 0 off); returns the arc between two points.
    static float sampleRing(const Patch& hand, const HandFacts& facts, float ax, float ay,
                            float radius, std::vector<uint8_t>& on);
    float coverAt(const Patch& hand, const HandFacts& facts, float ax, float ay,
                  float radius) const;
    int countFingersAt(const Patch& hand, const HandFacts& facts, float ax, float ay,
                       float radius) const;

    // Chamfer distances (3 a step across, 4 diagonally) to the nearest pixel outside.
    std::vector<uint16_t> distance_;
    int width_ = 0, height_ = 0;
    mutable std::vector<uint8_t> ring_;
};

}  // namespace vision::room
