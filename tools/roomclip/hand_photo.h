// The hand photographs: where each one's wrist, thumb and fingers are (noted by hand, in the
// photo's own pixels), and the hand cut from its background.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/roomclip/geometry.h"
#include "tools/roomclip/image.h"

namespace roomclip {

enum Part : uint8_t { kNone = 0, kPalm, kThumb, kIndex, kMiddle, kRing, kLittle };
constexpr int kParts = 7;

struct HandNotes {
    std::string name;  // short, for the sheets and the truth files
    std::string path;
    // The wrist: the hand lies on the side of this line its fingers point to.
    Point wristA, wristB;
    // Where the thumb and each finger (index, middle, ring, little) leave the palm: every hand
    // pixel inside a polygon belongs to that digit; the pivot is the middle of its base.
    Polygon thumb;
    Point thumbPivot;
    std::array<Polygon, 4> fingers;
    std::array<Point, 4> fingerPivots;
    // A hand pixel is one whose redness (r - b) / (r + g + b) passes this.
    double minRedness = 0.08;
};

// The hands of the packages' photos: a light-skinned open hand, a medium one and a darker one.
const std::vector<HandNotes>& handNotes();

struct HandPhoto {
    HandNotes notes;
    Image picture;
    std::vector<uint8_t> parts;  // one Part a pixel
    Point wristCentre;
    Point axis;    // unit vector from the wrist towards the fingers
    Point across;  // unit vector along the wrist
    double wristHalfWidth = 0;
    float skin[3] = {0, 0, 0};  // mean colour of the palm near the wrist

    uint8_t partAt(int x, int y) const {
        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return kNone;
        return parts[static_cast<size_t>(y) * picture.width + x];
    }
};

// Reads the photo and cuts the hand from its background.
bool loadHandPhoto(const HandNotes& notes, HandPhoto& out, std::string& error);

}  // namespace roomclip
