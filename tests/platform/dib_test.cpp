// 32-bit device-independent bitmaps: bottom-up rows, blue first, and the copies between them
// and windows.
#include <vector>

#include "tests/platform/bitmap_info.h"
#include "tests/platform/headless.h"

using testing_platform::describe32;
using testing_platform::HeadlessCanvas;

namespace {

// The COLORREF (0x00BBGGRR) GetPixel gives for a canvas pixel (0x00RRGGBB).
COLORREF colorFromPixel(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

// A distinct pixel for every position of a picture, as the canvas stores it (0x00RRGGBB).
uint32_t patternAt(int x, int y) { return (uint32_t(x) << 16) | (uint32_t(y) << 8) | 0x5A; }

class Dib : public HeadlessCanvas {
protected:
    void paintPattern() {
        vorlaxis::platform::CanvasLock lock(hwnd);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) lock.row(y)[x] = patternAt(x, y);
    }
};

TEST_F(Dib, SetDIBitsToDeviceReadsBottomUpRowsBlueFirst) {
    const int w = 4, h = 3;
    std::vector<uint8_t> bits(w * h * 4, 0);
    // Buffer line 0 is the bottom row of the picture; byte 0 of a pixel is blue.
    bits[0] = 0xFF;                          // bottom-left: blue
    bits[((h - 1) * w + 3) * 4 + 2] = 0xFF;  // top-right: red
    BITMAPINFO bmi = describe32(w, h);
    fill(0x000000);
    EXPECT_EQ(SetDIBitsToDevice(hdc, 10, 20, w, h, 0, 0, 0, h, bits.data(), &bmi, DIB_RGB_COLORS),
              h);
    EXPECT_EQ(GetPixel(hdc, 10, 22), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(hdc, 13, 20), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(hdc, 10, 20), RGB(0, 0, 0));
}

TEST_F(Dib, SetDIBitsToDeviceDrawsTheNamedPartOfTheBufferAsTheCameraPanelDoes) {
    // A 320 x 240 picture split into two halves drawn side by side, as the control panel does.
    const int w = 320, h = 240;
    std::vector<uint32_t> bits(w * h);
    for (int line = 0; line < h; ++line)
        for (int x = 0; x < w; ++x) bits[line * w + x] = patternAt(x, h - 1 - line);
    BITMAPINFO bmi = describe32(w, h);
    HWND wide = CreateWindowExA(0, "canvas-test", "wide", 0, 0, 0, 1200, 272, nullptr, nullptr,
                                nullptr, nullptr);
    HDC wideDC = GetDC(wide);
    SetDIBitsToDevice(wideDC, 160, 0, 160, 240, 0, 0, 0, 240, bits.data(), &bmi, DIB_RGB_COLORS);
    SetDIBitsToDevice(wideDC, 880, 0, 160, 240, 160, 0, 0, 240, bits.data(), &bmi, DIB_RGB_COLORS);
    {
        vorlaxis::platform::CanvasLock lock(wide);
        for (int y : {0, 1, 120, 239})
            for (int x : {0, 1, 80, 159}) {
                EXPECT_EQ(lock.row(y)[160 + x], patternAt(x, y));
                EXPECT_EQ(lock.row(y)[880 + x], patternAt(160 + x, y));
            }
        EXPECT_EQ(lock.row(240)[200], 0xFFFFFFu);  // below the picture: untouched
    }
    ReleaseDC(wide, wideDC);
    DestroyWindow(wide);
}

TEST_F(Dib, SetDIBitsToDeviceClipsAtTheCanvasAndSourceEdges) {
    const int w = 8, h = 8;
    std::vector<uint32_t> bits(w * h, 0x00FF00);
    BITMAPINFO bmi = describe32(w, h);
    fill(0x000000);
    SetDIBitsToDevice(hdc, kWidth - 4, kHeight - 4, w, h, 0, 0, 0, h, bits.data(), &bmi,
                      DIB_RGB_COLORS);
    SetDIBitsToDevice(hdc, -4, -4, w, h, 0, 0, 0, h, bits.data(), &bmi, DIB_RGB_COLORS);
    // Asking for more than the buffer holds reads only what is there.
    SetDIBitsToDevice(hdc, 50, 0, 100, 100, 4, 4, 0, h, bits.data(), &bmi, DIB_RGB_COLORS);
    EXPECT_EQ(at(kWidth - 1, kHeight - 1), 0x00FF00u);
    EXPECT_EQ(at(3, 3), 0x00FF00u);
    EXPECT_EQ(at(4, 4), 0x000000u);
    // The 4 source rows above ySrc land at the bottom of the block, 4 columns wide.
    EXPECT_EQ(at(53, 99), 0x00FF00u);
    EXPECT_EQ(at(50, 96), 0x00FF00u);
    EXPECT_EQ(at(54, 99), 0x000000u);
    EXPECT_EQ(at(50, 95), 0x000000u);
    BITMAPINFO bad = describe32(w, h);
    bad.bmiHeader.biBitCount = 24;
    EXPECT_EQ(SetDIBitsToDevice(hdc, 0, 0, w, h, 0, 0, 0, h, bits.data(), &bad, DIB_RGB_COLORS), 0);
}

TEST_F(Dib, CreateDIBSectionHandsOutBottomUpMemory) {
    BITMAPINFO bmi = describe32(3, 2);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bits, nullptr);
    static_cast<uint32_t*>(bits)[0] = 0xABCDEF;  // first line: the bottom row
    HDC memory = CreateCompatibleDC(hdc);
    ASSERT_NE(SelectObject(memory, bitmap), nullptr);
    EXPECT_EQ(GetPixel(memory, 0, 1), RGB(0xAB, 0xCD, 0xEF));
    EXPECT_EQ(GetPixel(memory, 0, 0), RGB(0, 0, 0));
    DeleteDC(memory);
    DeleteObject(bitmap);
    BITMAPINFO tooDeep = describe32(3, 2);
    tooDeep.bmiHeader.biBitCount = 16;
    EXPECT_EQ(CreateDIBSection(nullptr, &tooDeep, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    BITMAPINFO huge = describe32(1 << 20, 1 << 20);
    EXPECT_EQ(CreateDIBSection(nullptr, &huge, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

// The frame grab of the camera: BitBlt a window into a DIB section, read it back with
// GetDIBits as bottom-up 32-bit rows, blue first.
TEST_F(Dib, BitBltIntoADibSectionAndGetDIBitsRoundTrip) {
    paintPattern();
    const int w = 64, h = 48;
    BITMAPINFO bmi = describe32(w, h);
    HDC memory = CreateCompatibleDC(hdc);
    HBITMAP bitmap = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, nullptr, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    ASSERT_NE(previous, nullptr);
    ASSERT_NE(previous, HGDI_ERROR);
    ASSERT_TRUE(BitBlt(memory, 0, 0, w, h, hdc, 7, 5, SRCCOPY));
    std::vector<uint8_t> bits(w * h * 4);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(screen, bitmap, 0, h, bits.data(), &bmi, DIB_RGB_COLORS), h);
    ReleaseDC(nullptr, screen);
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &bits[((h - 1 - row) * w + x) * 4];
            uint32_t want = patternAt(7 + x, 5 + row);
            ASSERT_EQ(p[0], want & 0xFF) << x << "," << row;
            ASSERT_EQ(p[1], (want >> 8) & 0xFF);
            ASSERT_EQ(p[2], (want >> 16) & 0xFF);
        }
    // Top-down on request (negative height), and a partial read from scan line 10.
    BITMAPINFO topDown = describe32(w, -h);
    std::vector<uint32_t> rows(w * h);
    EXPECT_EQ(GetDIBits(hdc, bitmap, 10, 5, rows.data(), &topDown, DIB_RGB_COLORS), 5);
    EXPECT_EQ(rows[0], patternAt(7, 5 + 10));
    // Asking with no buffer describes the bitmap.
    BITMAPINFO query{};
    query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    EXPECT_NE(GetDIBits(hdc, bitmap, 0, h, nullptr, &query, DIB_RGB_COLORS), 0);
    EXPECT_EQ(query.bmiHeader.biWidth, w);
    EXPECT_EQ(query.bmiHeader.biHeight, h);
    EXPECT_EQ(query.bmiHeader.biBitCount, 32);
    EXPECT_EQ(GetDIBits(hdc, bitmap, h, 1, rows.data(), &topDown, DIB_RGB_COLORS), 0);
    DeleteObject(bitmap);  // still selected: the DC keeps it alive
    EXPECT_EQ(GetPixel(memory, 0, 0), colorFromPixel(patternAt(7, 5)));
    DeleteDC(memory);
}

TEST_F(Dib, BitBltClipsBothSidesAndRefusesOtherOperations) {
    paintPattern();
    HWND small = CreateWindowExA(0, "canvas-test", "small", 0, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    HDC smallDC = GetDC(small);
    EXPECT_FALSE(BitBlt(smallDC, 0, 0, 10, 10, hdc, 0, 0, 0x00EE0086));  // SRCPAINT
    EXPECT_TRUE(BitBlt(smallDC, -5, -5, 1000, 1000, hdc, kWidth - 8, kHeight - 8, SRCCOPY));
    EXPECT_EQ(GetPixel(smallDC, 0, 0), colorFromPixel(patternAt(kWidth - 3, kHeight - 3)));
    EXPECT_EQ(GetPixel(smallDC, 2, 2), colorFromPixel(patternAt(kWidth - 1, kHeight - 1)));
    EXPECT_EQ(GetPixel(smallDC, 3, 3), RGB(255, 255, 255));  // nothing to copy from there
    HDC screen = GetDC(nullptr);
    EXPECT_FALSE(BitBlt(smallDC, 0, 0, 10, 10, screen, 0, 0, SRCCOPY));
    ReleaseDC(nullptr, screen);
    ReleaseDC(small, smallDC);
    DestroyWindow(small);
}

}  // namespace
