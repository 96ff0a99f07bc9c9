#include <gtest/gtest.h>

#include "platform/capture/y4m.h"
#include "tests/platform/capture/clip_files.h"

using camera::parseY4mHeader;
using camera::RgbFrame;
using camera::Y4mClip;
using camera::Y4mHeader;
using testclip::TempFile;

TEST(Y4mHeader, AcceptsEveryFourTwoZeroVariantAndFourFourFour) {
    for (const char* space : {"C420jpeg", "C420paldv", "C420mpeg2", "C420", "C444", ""}) {
        Y4mHeader h;
        std::string error;
        const std::string line = std::string("YUV4MPEG2 W321 H241 F30000:1001 Ip A1:1 ") + space;
        ASSERT_TRUE(parseY4mHeader(line, h, error)) << line << ": " << error;
        EXPECT_EQ(h.width, 321);
        EXPECT_EQ(h.height, 241);
        EXPECT_EQ(h.rateNum, 30000);
        EXPECT_EQ(h.rateDen, 1001);
        const bool half = std::string(space) != "C444";
        EXPECT_EQ(h.halfChroma, half) << space;
        // Odd sizes round the chroma planes up.
        EXPECT_EQ(h.frameBytes(), half ? 321u * 241 + 2u * 161 * 121 : 3u * 321 * 241) << space;
    }
}

TEST(Y4mHeader, ReadsColourRangeAndIgnoresUnknownTags) {
    Y4mHeader h;
    std::string error;
    ASSERT_TRUE(
        parseY4mHeader("YUV4MPEG2 H2 W4 F15:1 XCOLORRANGE=FULL XYSCSS=420JPEG Zfuture", h, error))
        << error;
    EXPECT_TRUE(h.fullRange);
    ASSERT_TRUE(parseY4mHeader("YUV4MPEG2 W4 H2 F15:1 I?", h, error)) << error;
    EXPECT_FALSE(h.fullRange);
}

TEST(Y4mHeader, RejectsBadHeadersWithAReason) {
    const struct {
        const char* line;
        const char* reason;
    } cases[] = {
        {"", "not a YUV4MPEG2 clip"},
        {"YUV4MPEG W320 H240 F15:1", "not a YUV4MPEG2 clip"},
        {"YUV4MPEG2 H240 F15:1", "no picture size"},
        {"YUV4MPEG2 W320 F15:1", "no picture size"},
        {"YUV4MPEG2 W320 H240", "no frame rate"},
        {"YUV4MPEG2 W0 H240 F15:1", "picture size W0"},
        {"YUV4MPEG2 W-5 H240 F15:1", "picture size W-5"},
        {"YUV4MPEG2 W320 H99999 F15:1", "picture size H99999"},
        {"YUV4MPEG2 W99999999999999 H240 F15:1", "picture size"},
        {"YUV4MPEG2 W32x H240 F15:1", "picture size W32x"},
        {"YUV4MPEG2 W320 H240 F15", "frame rate F15"},
        {"YUV4MPEG2 W320 H240 F15:0", "frame rate F15:0"},
        {"YUV4MPEG2 W320 H240 F0:1", "frame rate F0:1"},
        {"YUV4MPEG2 W320 H240 F100000:1", "frame rate"},
        {"YUV4MPEG2 W320 H240 F15:1 It", "interlaced"},
        {"YUV4MPEG2 W320 H240 F15:1 Ib", "interlaced"},
        {"YUV4MPEG2 W320 H240 F15:1 Im", "interlaced"},
        {"YUV4MPEG2 W320 H240 F15:1 Ix", "interlace mode Ix"},
        {"YUV4MPEG2 W320 H240 F15:1 C422", "colour space C422"},
        {"YUV4MPEG2 W320 H240 F15:1 Cmono", "colour space Cmono"},
        {"YUV4MPEG2 W320 H240 F15:1 C420p10", "colour space C420p10"},
    };
    for (const auto& c : cases) {
        Y4mHeader h;
        std::string error;
        EXPECT_FALSE(parseY4mHeader(c.line, h, error)) << c.line;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.line << " gave: " << error;
    }
}

namespace {

// Opens bytes written to a clip file; returns the error text ("" when it opened).
std::string openError(const std::string& bytes, std::string* warning = nullptr,
                      int* frames = nullptr) {
    TempFile file(".y4m");
    file.write(bytes);
    Y4mClip clip;
    std::string error;
    if (clip.open(file.path(), error)) {
        if (warning) *warning = clip.warning();
        if (frames) *frames = clip.frameCount();
        return "";
    }
    EXPECT_NE(error.find(file.path()), std::string::npos) << "the error names the file: " << error;
    return error;
}

const std::string kHeader = "YUV4MPEG2 W4 H2 F10:1 C420jpeg";

}  // namespace

TEST(Y4mClip, FilesThatCannotBePlayedSayWhy) {
    EXPECT_NE(openError("").find("not a YUV4MPEG2 clip"), std::string::npos);
    EXPECT_NE(openError("P6\n4 2\n255\n").find("not a YUV4MPEG2 clip"), std::string::npos);
    EXPECT_NE(openError(std::string(5000, 'x')).find("not a YUV4MPEG2 clip"), std::string::npos);
    EXPECT_NE(openError("YUV4MPEG2 W4 H2").find("truncated"), std::string::npos);
    EXPECT_NE(openError("YUV4MPEG2 W4 H2 F10:1 C411\n").find("colour space C411"),
              std::string::npos);
    EXPECT_NE(openError(kHeader + "\n").find("no complete frame"), std::string::npos);
    EXPECT_NE(openError(kHeader + "\nFRAME\nabc").find("truncated"), std::string::npos);
    EXPECT_NE(openError(kHeader + "\nGARBAGE\n").find("no valid FRAME header"), std::string::npos);
}

TEST(Y4mClip, MissingFilesDirectoriesAndPipesAreRefused) {
    Y4mClip clip;
    std::string error;
    EXPECT_FALSE(clip.open("/nonexistent/clip.y4m", error));
    EXPECT_NE(error.find("/nonexistent/clip.y4m: No such file or directory"), std::string::npos)
        << error;
    Y4mClip dir;
    EXPECT_FALSE(dir.open("/tmp", error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    Y4mClip device;  // would never end
    EXPECT_FALSE(device.open("/dev/zero", error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

TEST(Y4mClip, ADamagedTailLeavesTheCompleteFramesPlaying) {
    const std::string two = testclip::greyRamp(kHeader, 4, 2, true, 2);
    std::string warning;
    int frames = 0;
    EXPECT_EQ(openError(two + "FRAME\n" + std::string(5, '\0'), &warning, &frames), "");
    EXPECT_EQ(frames, 2);
    EXPECT_NE(warning.find("frame 3 is truncated (5 of 12 bytes)"), std::string::npos) << warning;
    EXPECT_EQ(openError(two + "FRAMX\n", &warning, &frames), "");
    EXPECT_EQ(frames, 2);
    EXPECT_NE(warning.find("frame 3 has no valid FRAME header"), std::string::npos) << warning;
    EXPECT_EQ(openError(two + "FRAME" + std::string(3000, ' '), &warning, &frames), "");
    EXPECT_EQ(frames, 2);
    // Frame headers may carry parameters.
    EXPECT_EQ(openError(kHeader + "\nFRAME Ixyz\n" + std::string(12, '\x80'), &warning, &frames),
              "");
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(warning, "");
}

TEST(Y4mClip, PlaysAtItsOwnRateAndLoops) {
    TempFile file(".y4m");
    file.write(testclip::greyRamp("YUV4MPEG2 W4 H2 F15:1", 4, 2, true, 4));
    Y4mClip clip;
    std::string error;
    ASSERT_TRUE(clip.open(file.path(), error)) << error;
    ASSERT_EQ(clip.frameCount(), 4);
    EXPECT_EQ(clip.frameIndexAt(0.0), 0);
    EXPECT_EQ(clip.frameIndexAt(-1.0), 0);
    EXPECT_EQ(clip.frameIndexAt(0.066), 0);
    EXPECT_EQ(clip.frameIndexAt(0.067), 1);
    EXPECT_EQ(clip.frameIndexAt(0.2 + 1e-9), 3);
    EXPECT_EQ(clip.frameIndexAt(4.0 / 15 + 1e-9), 0);  // looped
    EXPECT_EQ(clip.frameIndexAt(100.0 + 1e-9), 1500 % 4);
    EXPECT_EQ(clip.frameIndexAt(1e9), 0);  // 15e9 frames, a multiple of 4

    RgbFrame frame;
    for (int k : {2, 0, 3}) {
        ASSERT_TRUE(clip.readFrame(k, frame, error)) << error;
        ASSERT_EQ(frame.width, 4);
        ASSERT_EQ(frame.height, 2);
        const int expected = (10 * k * 255 + 219 / 2) / 219;  // studio luma 16 + 10 k
        for (uint8_t value : frame.rgb) EXPECT_NEAR(value, expected, 1) << "frame " << k;
    }
    EXPECT_FALSE(clip.readFrame(4, frame, error));
    EXPECT_FALSE(clip.readFrame(-1, frame, error));

    // A consumer that shows the picture at another size gets it at that size.
    frame.fitWidth = 3;
    frame.fitHeight = 5;
    ASSERT_TRUE(clip.readFrame(1, frame, error)) << error;
    EXPECT_EQ(frame.width, 3);
    EXPECT_EQ(frame.height, 5);
    for (uint8_t value : frame.rgb) EXPECT_NEAR(value, (10 * 255 + 219 / 2) / 219, 1);
}

TEST(Y4mClip, NtscRateIsNotRoundedToThirty) {
    TempFile file(".y4m");
    file.write(testclip::greyRamp("YUV4MPEG2 W2 H2 F30000:1001", 2, 2, true, 1000));
    Y4mClip clip;
    std::string error;
    ASSERT_TRUE(clip.open(file.path(), error)) << error;
    // 999 frames take 33.3333 s at 29.97 frames a second, 33.3 s at 30.
    EXPECT_EQ(clip.frameIndexAt(33.32), 998);
    EXPECT_EQ(clip.frameIndexAt(33.34), 999);
}

TEST(Y4mClip, ChromaIsSharedByTwoByTwoBlocksIn420AndPerPixelIn444) {
    // A 4 x 2 picture: blue chroma on the left block, red chroma on the right.
    const std::string planes420 = std::string(8, '\x51') + "\xF0\x5A" + "\x6E\xF0";
    TempFile f420(".y4m");
    f420.write("YUV4MPEG2 W4 H2 F1:1 C420mpeg2\nFRAME\n" + planes420);
    Y4mClip clip;
    std::string error;
    ASSERT_TRUE(clip.open(f420.path(), error)) << error;
    RgbFrame frame;
    ASSERT_TRUE(clip.readFrame(0, frame, error)) << error;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col) {
            const uint8_t* p = &frame.rgb[(row * 4 + col) * 3];
            if (col < 2)
                EXPECT_GT(p[2], p[0]) << "blue at " << col << "," << row;
            else
                EXPECT_GT(p[0], p[2]) << "red at " << col << "," << row;
        }

    // 4:4:4 with a different chroma per pixel on one row of two.
    TempFile f444(".y4m");
    f444.write(std::string("YUV4MPEG2 W2 H1 F1:1 C444\nFRAME\n") + "\x51\x51" + "\xF0\x5A" +
               "\x6E\xF0");
    Y4mClip clip444;
    ASSERT_TRUE(clip444.open(f444.path(), error)) << error;
    ASSERT_TRUE(clip444.readFrame(0, frame, error)) << error;
    EXPECT_GT(frame.rgb[2], frame.rgb[0]);  // pixel 0 blue
    EXPECT_GT(frame.rgb[3], frame.rgb[5]);  // pixel 1 red
}
