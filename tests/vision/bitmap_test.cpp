// Still pictures into the store: the file layout, and files that are missing, short or of
// another size or depth (read as 320 x 240 x 24 bits, 255 past the end, nothing beyond).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"
#include "tests/support/working_folder.h"
#include "tests/vision/frames.h"
#include "vision/WebCam.h"

using testframes::rgb;

namespace {

class Bitmap : public ::testing::Test {
protected:
    std::unique_ptr<CWebCam> cam = std::make_unique<CWebCam>();
    testsupport::ScratchFolder folder{"vision-bmp"};
    testsupport::WorkingFolder here{folder.path()};

    void SetUp() override {
        for (int s = 0; s < 3; ++s) testframes::fill(*cam, s, rgb(1, 2, 3));
    }
    static void write(const char* name, const std::vector<uint8_t>& bytes) {
        std::FILE* f = std::fopen(name, "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    const Pixel& at(int slot, int y, int x) { return cam->images[slot].pixels[y][x]; }
};

// 54 header bytes (never checked), then count pixel bytes numbered by position.
std::vector<uint8_t> fileOf(size_t pixelBytes) {
    std::vector<uint8_t> bytes(54 + pixelBytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    for (size_t i = 0; i < pixelBytes; ++i) bytes[54 + i] = static_cast<uint8_t>(i * 7 + i / 960);
    return bytes;
}

uint8_t byteAt(size_t i) { return static_cast<uint8_t>(i * 7 + i / 960); }

TEST_F(Bitmap, FileRowsAreBottomUpBlueFirst) {
    write("1.bmp", fileOf(320 * 240 * 3));
    cam->ChargeBitmap(1);
    for (int n = 0; n < 240; ++n)
        for (int m = 0; m < 320; ++m) {
            const size_t i = (static_cast<size_t>(n) * 320 + m) * 3;
            ASSERT_TRUE(testframes::samePixel(at(1, 239 - n, m),
                                              rgb(byteAt(i + 2), byteAt(i + 1), byteAt(i))));
        }
    EXPECT_TRUE(testframes::samePixel(at(0, 0, 0), rgb(1, 2, 3)));  // other slots untouched
}

TEST_F(Bitmap, MissingFileLeavesTheSlot) {
    cam->ChargeBitmap(2);
    EXPECT_TRUE(testframes::samePixel(at(2, 0, 0), rgb(1, 2, 3)));
    EXPECT_TRUE(testframes::samePixel(at(2, 239, 319), rgb(1, 2, 3)));
}

TEST_F(Bitmap, ShortFileReads255PastItsEnd) {
    // Ten whole file rows and two bytes of the eleventh.
    write("0.bmp", fileOf(320 * 3 * 10 + 2));
    cam->ChargeBitmap(0);
    EXPECT_TRUE(testframes::samePixel(
        at(0, 230, 319), rgb(byteAt(9 * 960 + 959), byteAt(9 * 960 + 958), byteAt(9 * 960 + 957))));
    EXPECT_TRUE(testframes::samePixel(at(0, 229, 0), rgb(255, byteAt(9601), byteAt(9600))));
    EXPECT_TRUE(testframes::samePixel(at(0, 229, 1), rgb(255, 255, 255)));
    EXPECT_TRUE(testframes::samePixel(at(0, 0, 319), rgb(255, 255, 255)));
}

TEST_F(Bitmap, FileShorterThanItsHeaderIsAllWhite) {
    write("0.bmp", {'B', 'M', 1, 2, 3});
    cam->ChargeBitmap(0);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_TRUE(testframes::samePixel(at(0, y, x), rgb(255, 255, 255)));
}

TEST_F(Bitmap, OtherSizeAndDepthAreReadAsTheUsualLayout) {
    // A 2 x 2, 32-bit picture: its 16 data bytes become the first pixels of the bottom row.
    std::vector<uint8_t> small = fileOf(16);
    small[18] = 2;   // biWidth
    small[22] = 2;   // biHeight
    small[28] = 32;  // biBitCount
    write("2.bmp", small);
    cam->ChargeBitmap(2);
    EXPECT_TRUE(testframes::samePixel(at(2, 239, 0), rgb(byteAt(2), byteAt(1), byteAt(0))));
    EXPECT_TRUE(testframes::samePixel(at(2, 239, 4), rgb(byteAt(14), byteAt(13), byteAt(12))));
    EXPECT_TRUE(testframes::samePixel(at(2, 239, 5), rgb(255, 255, byteAt(15))));
    EXPECT_TRUE(testframes::samePixel(at(2, 238, 0), rgb(255, 255, 255)));
    // A larger file: only the first 230,400 data bytes are read.
    write("2.bmp", fileOf(640 * 480 * 3));
    cam->ChargeBitmap(2);
    EXPECT_TRUE(
        testframes::samePixel(at(2, 0, 319), rgb(byteAt(230399), byteAt(230398), byteAt(230397))));
}

}  // namespace
