#include <gtest/gtest.h>

#include "platform/capture/camera_frame.h"

using camera::RgbFrame;

namespace {

struct Rgb {
    int r, g, b;
};

Rgb convert(int y, int u, int v, bool full) {
    uint8_t out[3];
    camera::yuvToRgb(y, u, v, full, out);
    return {out[0], out[1], out[2]};
}

void expectRgb(Rgb got, Rgb want, const char* what) {
    EXPECT_NEAR(got.r, want.r, 1) << what;
    EXPECT_NEAR(got.g, want.g, 1) << what;
    EXPECT_NEAR(got.b, want.b, 1) << what;
}

RgbFrame solidFrame(int width, int height, Rgb colour) {
    RgbFrame f;
    f.resize(width, height);
    for (size_t i = 0; i < f.rgb.size(); i += 3) {
        f.rgb[i] = static_cast<uint8_t>(colour.r);
        f.rgb[i + 1] = static_cast<uint8_t>(colour.g);
        f.rgb[i + 2] = static_cast<uint8_t>(colour.b);
    }
    return f;
}

void setPixel(RgbFrame& f, int x, int y, Rgb c) {
    uint8_t* p = &f.rgb[(static_cast<size_t>(y) * f.width + x) * 3];
    p[0] = static_cast<uint8_t>(c.r);
    p[1] = static_cast<uint8_t>(c.g);
    p[2] = static_cast<uint8_t>(c.b);
}

uint32_t packed(Rgb c) { return (static_cast<uint32_t>(c.r) << 16) | (c.g << 8) | c.b; }

}  // namespace

TEST(ColourConversion, StudioRangeBt601KnownColours) {
    expectRgb(convert(16, 128, 128, false), {0, 0, 0}, "black");
    expectRgb(convert(235, 128, 128, false), {255, 255, 255}, "white");
    expectRgb(convert(126, 128, 128, false), {128, 128, 128}, "mid grey");
    expectRgb(convert(81, 90, 240, false), {255, 0, 0}, "red");
    expectRgb(convert(145, 54, 34, false), {0, 255, 0}, "green");
    expectRgb(convert(41, 240, 110, false), {0, 0, 255}, "blue");
    expectRgb(convert(210, 16, 146, false), {255, 255, 0}, "yellow");
    // Out-of-range codes clamp rather than wrap.
    expectRgb(convert(0, 128, 128, false), {0, 0, 0}, "below black");
    expectRgb(convert(255, 128, 128, false), {255, 255, 255}, "above white");
    expectRgb(convert(255, 255, 255, false), {255, 125, 255}, "all high");
    expectRgb(convert(0, 0, 0, false), {0, 135, 0}, "all low");
}

TEST(ColourConversion, FullRangeKnownColours) {
    expectRgb(convert(0, 128, 128, true), {0, 0, 0}, "black");
    expectRgb(convert(255, 128, 128, true), {255, 255, 255}, "white");
    expectRgb(convert(76, 85, 255, true), {254, 0, 0}, "red");
    expectRgb(convert(29, 255, 107, true), {0, 0, 255}, "blue");
}

TEST(Scaling, SameSizeIsExactAndFlipsNothing) {
    RgbFrame f = solidFrame(320, 240, {1, 2, 3});
    setPixel(f, 0, 0, {255, 0, 0});
    setPixel(f, 319, 0, {0, 255, 0});
    setPixel(f, 0, 239, {0, 0, 255});
    setPixel(f, 5, 7, {9, 8, 7});
    std::vector<uint32_t> canvas(320 * 240, 0xDEADBEEF);
    camera::scaleInto(f, canvas.data(), 320, 240, 320);
    EXPECT_EQ(canvas[0], 0xFF0000u);
    EXPECT_EQ(canvas[319], 0x00FF00u);
    EXPECT_EQ(canvas[239 * 320], 0x0000FFu);
    EXPECT_EQ(canvas[7 * 320 + 5], 0x090807u);
    EXPECT_EQ(canvas[100 * 320 + 100], 0x010203u);
}

TEST(Scaling, HalvingAveragesEachTwoByTwoBlock) {
    // 640 x 480 of 2 x 2 blocks: every block one colour, so each destination pixel is it.
    RgbFrame f;
    f.resize(640, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            setPixel(f, x, y, {x / 2 % 256, y / 2 % 256, (x / 2 + y / 2) % 256});
    std::vector<uint32_t> canvas(320 * 240);
    camera::scaleInto(f, canvas.data(), 320, 240, 320);
    for (int y : {0, 1, 120, 239})
        for (int x : {0, 1, 200, 319})
            EXPECT_EQ(canvas[y * 320 + x], packed({x % 256, y % 256, (x + y) % 256}))
                << x << "," << y;
}

TEST(Scaling, UpscalingKeepsCornersAndBlendsBetween) {
    RgbFrame f;
    f.resize(2, 1);
    setPixel(f, 0, 0, {0, 0, 0});
    setPixel(f, 1, 0, {200, 100, 40});
    std::vector<uint32_t> canvas(8 * 3);
    camera::scaleInto(f, canvas.data(), 8, 3, 8);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(canvas[y * 8], 0u);
        EXPECT_EQ(canvas[y * 8 + 7], packed({200, 100, 40}));
        for (int x = 1; x < 8; ++x)  // never darker to the right
            EXPECT_GE(canvas[y * 8 + x] >> 16, canvas[y * 8 + x - 1] >> 16);
    }
    const uint32_t middle = canvas[4];
    EXPECT_GT(middle >> 16, 60u);
    EXPECT_LT(middle >> 16, 140u);
}

TEST(Scaling, OddSizesStayInsideTheirBuffers) {
    // Destination rows with padding: the padding must stay untouched.
    RgbFrame f = solidFrame(176, 144, {10, 20, 30});
    std::vector<uint32_t> canvas(240 * 330, 0xAAAAAAAA);
    camera::scaleInto(f, canvas.data(), 320, 240, 330);
    for (int y = 0; y < 240; ++y) {
        EXPECT_EQ(canvas[y * 330 + 319], 0x0A141Eu);
        EXPECT_EQ(canvas[y * 330 + 320], 0xAAAAAAAAu);
    }
    RgbFrame one = solidFrame(1, 1, {7, 7, 7});
    camera::scaleInto(one, canvas.data(), 320, 240, 330);
    EXPECT_EQ(canvas[239 * 330 + 319], 0x070707u);
    RgbFrame empty;
    camera::scaleInto(empty, canvas.data(), 320, 240, 330);  // nothing to draw, no crash
}

TEST(Scaling, UnscaledCopyCutsToTheWindow) {
    RgbFrame f = solidFrame(400, 100, {1, 1, 1});
    setPixel(f, 319, 99, {50, 60, 70});
    std::vector<uint32_t> canvas(320 * 240, 0x123456);
    camera::copyInto(f, canvas.data(), 320, 240, 320);
    EXPECT_EQ(canvas[99 * 320 + 319], 0x323C46u);
    EXPECT_EQ(canvas[0], 0x010101u);
    EXPECT_EQ(canvas[100 * 320], 0x123456u);  // below the picture: left as it was
}

// A big clip is converted straight to the window's size; what the window shows must not change.
TEST(Scaling, ScaledConversionMatchesConvertingThenScaling) {
    const int sizes[][4] = {{37, 29, 16, 12}, {5, 3, 8, 8}, {64, 48, 320, 240}, {9, 1, 3, 5}};
    for (const bool half : {true, false}) {
        for (const auto& s : sizes) {
            const int cw = camera::chromaWidth(s[0], half), ch = camera::chromaHeight(s[1], half);
            std::vector<uint8_t> y(static_cast<size_t>(s[0]) * s[1]), u(cw * ch), v(cw * ch);
            for (size_t i = 0; i < y.size(); ++i) y[i] = static_cast<uint8_t>(i * 37 % 251);
            for (size_t i = 0; i < u.size(); ++i) {
                u[i] = static_cast<uint8_t>(i * 53 % 256);
                v[i] = static_cast<uint8_t>(255 - i * 11 % 256);
            }
            camera::YuvPlanes planes;
            planes.y = y.data(), planes.u = u.data(), planes.v = v.data();
            planes.width = s[0], planes.height = s[1], planes.halfChroma = half;
            RgbFrame full, direct;
            camera::convertYuv(planes, full);
            std::vector<uint32_t> viaFull(s[2] * s[3]), viaDirect(s[2] * s[3]);
            camera::scaleInto(full, viaFull.data(), s[2], s[3], s[2]);
            camera::convertYuvScaled(planes, s[2], s[3], direct);
            ASSERT_EQ(direct.width, s[2]);
            ASSERT_EQ(direct.height, s[3]);
            camera::scaleInto(direct, viaDirect.data(), s[2], s[3], s[2]);
            EXPECT_EQ(viaFull, viaDirect) << s[0] << "x" << s[1] << " to " << s[2] << "x" << s[3];
        }
    }
}
