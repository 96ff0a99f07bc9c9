// The recognition's whole-frame passes: the SSE2 build against the plain one on frames of
// every kind, and the spreads taken from the centre pass's moments against a fresh read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "tests/vision/frames.h"
#include "vision/MaskPasses.h"
#include "vision/Picture.h"
#include "vision/WebCam.h"

using namespace vision;
using testframes::rect;
using testframes::rgb;

namespace {

#if defined(__SSE2__)

bool sameMoments(const HandMoments& a, const HandMoments& b) {
    return a.count == b.count && a.sumX == b.sumX && a.sumY == b.sumY && a.sumXX == b.sumXX &&
           a.sumYY == b.sumYY;
}

// Noise in which about one pixel in eight has r 255, with g and b anything: the hand test
// must look at r alone, and r 254 must not count.
void paintNearMask(CWebCam& cam, int slot, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255), pick(0, 7);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x) {
            const int r = pick(rng) == 0 ? 255 : pick(rng) == 0 ? 254 : byte(rng);
            cam.images[slot].pixels[y][x] = rgb(r, byte(rng), byte(rng));
        }
}

TEST(MaskPasses, Sse2AgreesWithPlainOnEveryKindOfFrame) {
    std::mt19937 rng(99);
    auto a = std::make_unique<CWebCam>();
    auto b = std::make_unique<CWebCam>();
    std::vector<uint8_t> greysA(kFramePixels), greysB(kFramePixels);
    for (int round = 0; round < 6; ++round) {
        testframes::randomFrame(*a, 0, rng);
        // Padding bytes and couleur values that disagree with r, g, b must not leak in.
        a->images[0].pixels[7][9].couleur = -1;
        std::memset(reinterpret_cast<char*>(&a->images[0].pixels[3][5]) + 3, 0xAB, 1);
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x)
                b->images[0].pixels[y][x] = a->images[0].pixels[y][x];
        ASSERT_EQ(sse2::greyTotal(a->images[0], greysA.data()),
                  plain::greyTotal(b->images[0], greysB.data()));
        ASSERT_EQ(greysA, greysB) << round;
        const uint8_t threshold = static_cast<uint8_t>(round == 5 ? 255 : 40 * round);
        sse2::writeMask(a->images[0], greysA.data(), threshold);
        plain::writeMask(b->images[0], greysB.data(), threshold);
        ASSERT_TRUE(testframes::sameFrame(*a, 0, *b, 0)) << round;

        paintNearMask(*a, 2, rng);
        for (int first : {0, kHalfWidth}) {
            ASSERT_TRUE(sameMoments(sse2::handMoments(a->images[2], first),
                                    plain::handMoments(a->images[2], first)));
            ASSERT_TRUE(sameMoments(sse2::handMoments(a->images[0], first),
                                    plain::handMoments(a->images[0], first)));
        }
    }
}

TEST(MaskPasses, GreyLevelsOfEveryChannelSum) {
    auto cam = std::make_unique<CWebCam>();
    for (int s = 0; s <= 765; ++s) {
        const int r = std::min(s, 255), g = std::min(s - r, 255), b = s - r - g;
        cam->images[0].pixels[s / kFrameWidth][s % kFrameWidth] = rgb(r, g, b);
    }
    std::vector<uint8_t> greys(kFramePixels);
    sse2::greyTotal(cam->images[0], greys.data());
    for (int s = 0; s <= 765; ++s) ASSERT_EQ(greys[static_cast<size_t>(s)], s / 3) << s;
}

#endif

std::vector<int32_t> spreads(const CWebCam& c) {
    return {c.varX1, c.varY1, c.varX2, c.varY2, c.nbPixels2, c.nbPixels1};
}

TEST(SpreadsFromMoments, MatchAFreshReadOfTheMask) {
    std::mt19937 rng(5);
    auto cam = std::make_unique<CWebCam>();
    std::uniform_int_distribution<int> pos(0, 300), size(1, 60);
    for (int round = 0; round < 8; ++round) {
        testframes::fill(*cam, 0, rgb(0, 0, 0));
        for (int k = 0; k <= round; ++k) {
            const int x0 = pos(rng), y0 = pos(rng) * 3 / 4;
            rect(*cam, 0, x0, y0, std::min(kFrameWidth, x0 + size(rng)),
                 std::min(kFrameHeight, y0 + size(rng)), rgb(255, 255, 255));
        }
        cam->calculBarycentre(0);
        cam->calculVariance(0);
        const auto fromMoments = spreads(*cam);
        // A black and white mask goes through CalBiCouleur unchanged, but the moments are
        // dropped: calculVariance must read the slot itself and find the same.
        cam->CalBiCouleur(0);
        cam->calculVariance(0);
        ASSERT_EQ(spreads(*cam), fromMoments) << round;
    }
}

// Centres need not come from the recognition: off the picture, the spreads are still the
// exact sums of squared distances.
TEST(SpreadsFromMoments, CentresOffThePicture) {
    auto cam = std::make_unique<CWebCam>();
    testframes::fill(*cam, 0, rgb(0, 0, 0));
    rect(*cam, 0, 10, 20, 30, 50, rgb(255, 255, 255));      // player 2: 20 x 30
    rect(*cam, 0, 200, 100, 210, 110, rgb(255, 255, 255));  // player 1: 10 x 10
    cam->calculBarycentre(0);
    cam->baryX2 = 400;
    cam->baryY2 = -50;
    cam->baryX1 = -500;
    cam->baryY1 = 1000;
    cam->calculVariance(0);
    int64_t sx2 = 0, sy2 = 0, sx1 = 0, sy1 = 0;
    for (int y = 20; y < 50; ++y)
        for (int x = 10; x < 30; ++x) sx2 += (x - 400) * (x - 400), sy2 += (y + 50) * (y + 50);
    for (int y = 100; y < 110; ++y)
        for (int x = 200; x < 210; ++x)
            sx1 += (x + 340) * (x + 340), sy1 += (y - 1000) * (y - 1000);
    EXPECT_EQ(cam->varX2, sx2 / 600);
    EXPECT_EQ(cam->varY2, sy2 / 600);
    EXPECT_EQ(cam->varX1, sx1 / 100);
    EXPECT_EQ(cam->varY1, sy1 / 100);
}

}  // namespace
