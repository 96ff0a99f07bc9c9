// Image operations, one group per family, on the cases where rounding, order of visits,
// in-place effects or wrap-around can go wrong.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "tests/vision/frames.h"
#include "vision/WebCam.h"

using testframes::fill;
using testframes::rect;
using testframes::rgb;

namespace {

class Filters : public ::testing::Test {
protected:
    std::unique_ptr<CWebCam> cam = std::make_unique<CWebCam>();
    Pixel& at(int slot, int y, int x) { return cam->images[slot].pixels[y][x]; }
    void SetUp() override {
        for (int s = 0; s < 3; ++s) fill(*cam, s, rgb(0, 0, 0));
    }
    // Runs op on a frame holding p everywhere and returns the result.
    template <typename Op>
    Pixel onPixel(Pixel p, Op op) {
        fill(*cam, 0, p);
        op();
        return at(0, 120, 160);
    }
};

void expectRgb(const Pixel& p, int r, int g, int b) {
    EXPECT_EQ(p.r, r);
    EXPECT_EQ(p.g, g);
    EXPECT_EQ(p.b, b);
    EXPECT_EQ(p.couleur, r + 256 * g + 65536 * b);
}

void expectHsl(const PixelHSL& h, int hue, int sat, int lum) {
    EXPECT_EQ(h.hue, hue);
    EXPECT_EQ(h.sat, sat);
    EXPECT_EQ(h.lum, lum);
}

// ---- Point operations ----

TEST_F(Filters, PointGreyTruncatesAndPacksTheGreyLevel) {
    expectRgb(onPixel(rgb(1, 1, 2), [&] { cam->CalGris(0); }), 1, 1, 1);
    expectRgb(onPixel(rgb(255, 255, 254), [&] { cam->CalGris(0); }), 254, 254, 254);
}

TEST_F(Filters, PointRgbSplitsCouleurKeepingLowBytes) {
    Pixel p = rgb(0, 0, 0);
    p.couleur = 0x123456;
    Pixel q = onPixel(p, [&] { cam->CalRGB(0); });
    EXPECT_EQ(q.r, 0x56);
    EXPECT_EQ(q.g, 0x34);
    EXPECT_EQ(q.b, 0x12);
    p.couleur = -1;  // the invalid colour: blue and green truncate to 0, red is its low byte
    q = onPixel(p, [&] { cam->CalRGB(0); });
    EXPECT_EQ(q.r, 255);
    EXPECT_EQ(q.g, 0);
    EXPECT_EQ(q.b, 0);
    EXPECT_EQ(q.couleur, -1);
    p.couleur = 0x01020304;
    q = onPixel(p, [&] { cam->CalRGB(0); });
    EXPECT_EQ(q.b, 0x02);
    EXPECT_EQ(q.g, 0x03);
    EXPECT_EQ(q.r, 0x04);

    p = rgb(1, 2, 3);
    p.couleur = 77;
    EXPECT_EQ(onPixel(p, [&] { cam->CalCouleur(0); }).couleur, 0x030201);
    expectRgb(onPixel(rgb(0, 100, 255), [&] { cam->CalInvCouleur(0); }), 255, 155, 0);
}

TEST_F(Filters, PointAddWrapsModulo255OrSaturates) {
    auto add = [&](int r, int dr, bool modulo) {
        return onPixel(rgb(r, 7, 255), [&] { cam->CalAddCouleur(0, dr, 0, 0, modulo); });
    };
    expectRgb(add(250, 10, true), 5, 7, 0);  // 260 % 255; blue 255 + 0 wraps to 0
    expectRgb(add(250, 10, false), 255, 7, 255);
    expectRgb(add(100, 10, true), 110, 7, 0);
    expectRgb(add(100, 10, false), 110, 7, 255);
    // Below zero the unsigned sum is huge: saturated to 255, or taken modulo 255.
    expectRgb(add(5, -10, false), 255, 7, 255);
    expectRgb(add(5, -10, true), static_cast<int>(static_cast<uint32_t>(-5) % 255u), 7, 0);
}

TEST_F(Filters, PointMaskAgainstTheMeanOfChannelMeans) {
    rect(*cam, 0, 160, 0, 320, 240, rgb(40, 80, 120));  // means 20, 40, 60: threshold 40
    at(0, 5, 5) = rgb(40, 40, 40);                      // at the threshold: background
    at(0, 6, 6) = rgb(41, 41, 41);
    at(0, 7, 7) = rgb(0, 0, 122);  // grey 40 on one channel only
    cam->CalBiCouleurSeuil(0);
    expectRgb(at(0, 5, 5), 0, 0, 0);
    expectRgb(at(0, 6, 6), 255, 255, 255);
    expectRgb(at(0, 7, 7), 0, 0, 0);
    expectRgb(at(0, 0, 200), 255, 255, 255);
    expectRgb(at(0, 0, 0), 0, 0, 0);
}

TEST_F(Filters, PointLevelReductionsAtTheirBoundaries) {
    const int in3[][2] = {{0, 0},     {64, 0},    {65, 127}, {128, 127},
                          {191, 127}, {192, 254}, {255, 254}};
    for (auto& c : in3) {
        expectRgb(onPixel(rgb(c[0], c[0], c[0]), [&] { cam->CalExpole16to16(0); }), c[1], c[1],
                  c[1]);
    }
    const int in5[][2] = {{32, 0},    {33, 64},   {96, 64},   {97, 128}, {160, 128},
                          {161, 192}, {223, 192}, {224, 255}, {255, 255}};
    for (auto& c : in5) {
        const Pixel p = onPixel(rgb(c[0], 0, 255), [&] { cam->CalExpole16to256(0); });
        expectRgb(p, c[1], 0, 255);
    }
}

// ---- HSL ----

TEST_F(Filters, HslFromRgb) {
    expectHsl(cam->CalRGBtoHSL(rgb(255, 0, 0)), 0, 240, 120);
    expectHsl(cam->CalRGBtoHSL(rgb(0, 0, 255)), 160, 240, 120);
    expectHsl(cam->CalRGBtoHSL(rgb(128, 128, 128)), 120, 0, 120);
    expectHsl(cam->CalRGBtoHSL(rgb(255, 0, 128)), 220, 240, 120);  // -20 wrapped
    expectHsl(cam->CalRGBtoHSL(rgb(255, 128, 128)), 0, 240, 180);  // the light branch
}

TEST_F(Filters, HslToRgbAndHueWrap) {
    expectRgb(cam->CalHSLtoRGB({0, 240, 120}), 255, 0, 0);
    expectRgb(cam->CalHSLtoRGB({77, 0, 240}), 255, 255, 255);
    expectRgb(cam->CalHSLtoRGB({0, 240, 180}), 255, 128, 128);
    EXPECT_EQ(cam->HueToRGB(10, 200, -80), 10);   // 160: m1
    EXPECT_EQ(cam->HueToRGB(10, 200, 320), 200);  // 80: m2
    EXPECT_EQ(cam->HueToRGB(10, 200, 250), 10 + (190 * 10 + 20) / 40);
    EXPECT_EQ(cam->HueToRGB(10, 200, 240), 10);  // not reduced: falls to m1
    EXPECT_EQ(cam->HueToRGB(10, 200, 140), 10 + (190 * 20 + 20) / 40);
    EXPECT_EQ(cam->HueToRGB(200, 10, 30), 200 + (-190 * 30 + 20) / 40);  // truncation toward 0
}

TEST_F(Filters, HslFixersReplaceOneComponentAndTheWholePixel) {
    expectRgb(onPixel(rgb(255, 0, 0), [&] { cam->CalFixLumiere(0, 180 + 256); }), 255, 128, 128);
    expectRgb(onPixel(rgb(255, 0, 0), [&] { cam->CalFixTeinte(0, 80); }), 0, 255, 0);
    expectRgb(onPixel(rgb(255, 0, 0), [&] { cam->CalFixSaturation(0, 0); }), 127, 127, 127);
}

TEST_F(Filters, HslIntensityAveragesTheChosenComponents) {
    auto intensity = [&](bool h, bool s, bool l) {
        return onPixel(rgb(255, 0, 0), [&] { cam->CalIntensiteHSL(0, h, s, l); });
    };
    expectRgb(intensity(true, false, false), 0, 0, 0);
    expectRgb(intensity(false, true, true), 180, 180, 180);  // stays on the 0..240 scale
    expectRgb(intensity(true, true, true), 120, 120, 120);
    expectRgb(intensity(false, false, false), 255, 0, 0);  // nothing chosen: unchanged
}

// ---- Statistics ----

TEST_F(Filters, StatisticsMeansTruncateAndAgree) {
    rect(*cam, 0, 0, 0, 320, 120, rgb(1, 3, 5));
    const Pixel m = cam->CalMoyCouleur(0);
    EXPECT_EQ(m.r, 0);
    EXPECT_EQ(m.g, 1);
    EXPECT_EQ(m.b, 2);
    std::mt19937 rng(5);
    testframes::randomFrame(*cam, 0, rng);
    const Pixel a = cam->CalMoyCouleur(0);
    const Pixel h = cam->CalSeuilCouleur(0);
    expectRgb(h, a.r, a.g, a.b);
}

TEST_F(Filters, StatisticsSupportHelpers) {
    int ties[] = {3, 1, 1};
    EXPECT_EQ(cam->min_tbl(ties, 3), 1);
    int peaks[] = {2, 5, 5};
    EXPECT_EQ(cam->max_tbl(peaks, 3), 1);
    EXPECT_EQ(cam->min_tbl(peaks, 1), 0);
    Pixel some[] = {rgb(10, 0, 0), rgb(21, 0, 6), rgb(0, 0, 0)};
    expectRgb(cam->moyenne(some, 3), 15, 0, 6);  // zeros are not counted
}

// ---- Two frames ----

TEST_F(Filters, TwoFrameSubtractionSaturatesAtZeroInPlace) {
    fill(*cam, 0, rgb(100, 50, 10));
    fill(*cam, 1, rgb(30, 60, 10));
    cam->CalSoustraction(0, 1, 0);
    expectRgb(at(0, 239, 319), 70, 0, 0);
}

TEST_F(Filters, TwoFrameLikenessScores) {
    const Pixel p = rgb(100, 100, 100);
    EXPECT_TRUE(cam->CalRessemblance(p, p, 100));
    EXPECT_FALSE(cam->CalRessemblance(p, p, 99));
    EXPECT_TRUE(cam->CalRessemblance(rgb(0, 0, 0), rgb(255, 255, 255), 0));
    EXPECT_FALSE(cam->CalRessemblance(rgb(0, 0, 0), rgb(0, 0, 0), 99));
    EXPECT_TRUE(cam->CalRessemblance(p, rgb(50, 100, 100), 83));  // (1 + 1 + 0.5) * 100 / 3
    EXPECT_FALSE(cam->CalRessemblance(p, rgb(50, 100, 100), 82));
    EXPECT_FALSE(cam->CalRessemblance(rgb(0, 0, 0), rgb(255, 255, 255), static_cast<char>(-1)));
}

TEST_F(Filters, TwoFrameMotionAveragesChangedPixelsIntoASource) {
    fill(*cam, 0, rgb(100, 20, 7));
    fill(*cam, 1, rgb(0, 20, 9));   // ratios 0, 1, 7/9: score 59, changed
    at(1, 3, 4) = rgb(100, 20, 7);  // unchanged: black
    cam->CalMouvement(0, 1, 0);
    expectRgb(at(0, 0, 0), 50, 20, 8);
    expectRgb(at(0, 3, 4), 0, 0, 0);
}

// ---- Neighbourhoods ----

TEST_F(Filters, NeighbourhoodMirrorBothWaysIsAHalfTurn) {
    std::mt19937 rng(9);
    testframes::randomFrame(*cam, 0, rng);
    cam->CopieImage(0, 1);
    cam->CalMirroir(0, true, true);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_TRUE(testframes::samePixel(at(0, y, x), at(1, 239 - y, 319 - x)));
    cam->CopieImage(1, 0);
    cam->CalMirroir(0, true, false);
    EXPECT_TRUE(testframes::samePixel(at(0, 10, 0), at(1, 10, 319)));
    EXPECT_TRUE(testframes::samePixel(at(0, 10, 200), at(1, 10, 119)));
    cam->CalMirroir(0, false, false);
    EXPECT_TRUE(testframes::samePixel(at(0, 10, 0), at(1, 10, 319)));
}

TEST_F(Filters, NeighbourhoodBlurFloodsOnePixelInVisitOrder) {
    const int i = 100, j = 50;
    const Pixel c = rgb(200, 100, 50);
    at(0, i, j) = c;
    cam->CalFlou(0);
    for (int y = 0; y < 240; ++y) {
        int first = 320;  // first coloured column of the row
        if (y == i - 1) first = j - 1;
        if (y >= i) first = std::max(0, j - 2 - (y - i));
        for (int x = 0; x < 320; ++x) {
            const Pixel expected = x >= first ? c : rgb(0, 0, 0);
            ASSERT_TRUE(testframes::samePixel(at(0, y, x), expected)) << y << "," << x;
        }
    }
}

TEST_F(Filters, NeighbourhoodGreyEdgesMarkOnlyTheLowerAndRightSides) {
    rect(*cam, 0, 0, 0, 160, 240, rgb(200, 0, 100));  // grey 100 left of a dark right half
    cam->CalContourGris(0, 99);
    for (int y = 0; y < 240; ++y) {
        const bool marked = y >= 1 && y <= 238;
        expectRgb(at(0, y, 160), marked ? 255 : 0, marked ? 255 : 0, marked ? 255 : 0);
        expectRgb(at(0, y, 159), 100, 100, 100);
        expectRgb(at(0, y, 161), 0, 0, 0);  // the new white of column 160 is not a step
    }
    fill(*cam, 0, rgb(0, 0, 0));
    rect(*cam, 0, 0, 0, 320, 120, rgb(100, 100, 100));
    cam->CalContourGris(0, 100);  // a step of exactly the threshold is not an edge
    expectRgb(at(0, 120, 5), 0, 0, 0);
    cam->CalContourGris(0, 99);
    expectRgb(at(0, 120, 5), 255, 255, 255);
    expectRgb(at(0, 120, 0), 0, 0, 0);
    expectRgb(at(0, 120, 319), 0, 0, 0);
    expectRgb(at(0, 121, 5), 0, 0, 0);
}

TEST_F(Filters, NeighbourhoodColourEdgesUseAnyChannel) {
    rect(*cam, 0, 0, 0, 320, 120, rgb(0, 0, 50));
    cam->CopieImage(0, 1);
    cam->CalContour(0, 50);
    expectRgb(at(0, 120, 5), 0, 0, 0);
    cam->CalContour(1, 49);
    expectRgb(at(1, 120, 5), 255, 255, 255);
    expectRgb(at(1, 119, 5), 0, 0, 50);  // unmarked pixels keep their colours
}

}  // namespace
