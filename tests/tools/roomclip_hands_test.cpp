// The hands roomclip cuts from the packages' photos. The notes of where each photo's wrist,
// thumb and fingers are must still fit the photo (a later version of a package may change
// it), and the four shapes must differ as the signs they stand for do.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "tools/roomclip/hand_sprite.h"

namespace {

using namespace roomclip;

struct Extent {
    double area = 0;    // pixels at least half covered, photo pixels
    double along = 0;   // from the wrist to the farthest of them
    double across = 0;  // from side to side, across the hand's axis
};

Extent extentOf(const HandSprite& sprite) {
    Extent e;
    const Image& full = sprite.levels[0];
    for (size_t i = 3; i < full.data.size(); i += 4) e.area += full.data[i] >= 0.5f;
    double low = 1e9, high = -1e9;
    for (const Point& p : sprite.outline) {
        const double side = dot(p - sprite.wristCentre, sprite.across);
        low = std::min(low, side), high = std::max(high, side);
    }
    e.along = sprite.length;
    e.across = high - low;
    return e;
}

TEST(RoomClipHands, EveryPhotoSplitsIntoAPalmAThumbAndFourFingers) {
    for (const HandNotes& notes : handNotes()) {
        SCOPED_TRACE(notes.name);
        HandPhoto photo;
        std::string error;
        ASSERT_TRUE(loadHandPhoto(notes, photo, error)) << error;
        std::map<int, long> pixels;
        for (uint8_t part : photo.parts) ++pixels[part];
        const long hand = static_cast<long>(photo.parts.size()) - pixels[kNone];
        // The hand fills a good part of its photo, but not all of it: the background was
        // told apart.
        EXPECT_GT(hand, 0.15 * photo.parts.size());
        EXPECT_LT(hand, 0.75 * photo.parts.size());
        EXPECT_GT(pixels[kPalm], 0.3 * hand);
        for (int part = kThumb; part <= kLittle; ++part)
            EXPECT_GT(pixels[part], 0.03 * hand) << "part " << part;
        // The arm's colour comes from the palm: skin, redder than it is blue.
        EXPECT_GT(photo.skin[0], photo.skin[2] + 10);
    }
}

TEST(RoomClipHands, TheShapesDifferAsTheirSigns) {
    for (const HandNotes& notes : handNotes()) {
        SCOPED_TRACE(notes.name);
        HandPhoto photo;
        std::string error;
        ASSERT_TRUE(loadHandPhoto(notes, photo, error)) << error;
        std::map<Shape, Extent> e;
        for (Shape shape : kHandShapes) e[shape] = extentOf(makeSprite(photo, shape));
        const Extent &rock = e[Shape::Rock], &scissors = e[Shape::Scissors];
        const Extent &spread = e[Shape::PaperSpread], &flat = e[Shape::PaperFlat];
        // A fist is the palm alone: much shorter than an open hand, and the smallest.
        EXPECT_LT(rock.along, 0.7 * spread.along);
        EXPECT_LT(rock.area, scissors.area);
        EXPECT_LT(scissors.area, flat.area);
        // Two raised fingers stand about as tall as the open hand, narrower than it.
        EXPECT_GT(scissors.along, 0.85 * spread.along);
        EXPECT_LT(scissors.across, spread.across);
        // Spread paper is wider than flat paper; both have the same fingers.
        EXPECT_GT(spread.across, 1.05 * flat.across);
        EXPECT_NEAR(flat.area, spread.area, 0.1 * spread.area);
        EXPECT_EQ(signOf(Shape::PaperFlat), signOf(Shape::PaperSpread));
    }
}

}  // namespace
