// Rectangles, pixels, text and device contexts, checked pixel for pixel on headless canvases.
#include <cstring>

#include "tests/platform/headless.h"

using testing_platform::HeadlessCanvas;

namespace {

class Gdi : public HeadlessCanvas {};

TEST_F(Gdi, NewWindowShowsItsClassBackgroundAndGetPixelSwapsToColorref) {
    EXPECT_EQ(at(0, 0), 0xFFFFFFu);  // COLOR_WINDOW + 1
    fill(0x123456);                  // red 0x12, green 0x34, blue 0x56
    EXPECT_EQ(GetPixel(hdc, 5, 5), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(GetPixel(hdc, -1, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(hdc, kWidth, 0), CLR_INVALID);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, 0, 0), CLR_INVALID);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST_F(Gdi, RectangleFillsWithTheBrushInsideAOnePixelPenBorderRightAndBottomExclusive) {
    fill(0xFFFFFF);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(hdc, brush);  // default pen: black
    ASSERT_TRUE(Rectangle(hdc, 10, 20, 15, 24));
    for (int y = 18; y < 27; ++y) {
        for (int x = 8; x < 18; ++x) {
            bool inside = x >= 10 && x < 15 && y >= 20 && y < 24;
            bool border = inside && (x == 10 || x == 14 || y == 20 || y == 23);
            uint32_t want = !inside ? 0xFFFFFF : border ? 0x000000 : 0xFF0000;
            EXPECT_EQ(at(x, y), want) << x << "," << y;
        }
    }
    DeleteObject(brush);
}

TEST_F(Gdi, RectangleTakesItsCornersInEitherOrderAndClipsToTheCanvas) {
    fill(0xFFFFFF);
    SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(Rectangle(hdc, kWidth + 50, kHeight + 50, kWidth - 2, kHeight - 2));
    EXPECT_EQ(at(kWidth - 1, kHeight - 1), 0x000000u);
    EXPECT_EQ(at(kWidth - 3, kHeight - 3), 0xFFFFFFu);
    ASSERT_TRUE(Rectangle(hdc, -10, -10, 3, 3));
    EXPECT_EQ(at(2, 2), 0x000000u);
    EXPECT_EQ(at(3, 3), 0xFFFFFFu);
}

TEST_F(Gdi, ThinRectanglesKeepWhatTheirBorderLinesDrawAndEmptyOnesDrawNothing) {
    fill(0xFFFFFF);
    SelectObject(hdc, GetStockObject(GRAY_BRUSH));
    Rectangle(hdc, 10, 10, 10, 20);  // no width
    Rectangle(hdc, 20, 10, 30, 10);  // no height
    Rectangle(hdc, 40, 10, 41, 11);  // 1 x 1: every border line is its own left-out end
    Rectangle(hdc, 50, 10, 51, 14);  // 1 wide: a column
    for (int y = 9; y < 21; ++y)
        for (int x = 9; x < 45; ++x) EXPECT_EQ(at(x, y), 0xFFFFFFu) << x << "," << y;
    for (int y = 10; y < 14; ++y) EXPECT_EQ(at(50, y), 0x000000u) << y;
    EXPECT_EQ(at(50, 14), 0xFFFFFFu);
}

TEST_F(Gdi, NullPenAndHollowBrushLeaveTheirPartsUndrawn) {
    fill(0xFFFFFF);
    SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Rectangle(hdc, 10, 10, 20, 20);
    EXPECT_EQ(at(10, 10), 0x000000u);
    EXPECT_EQ(at(15, 15), 0xFFFFFFu);
    SelectObject(hdc, GetStockObject(GRAY_BRUSH));
    SelectObject(hdc, GetStockObject(NULL_PEN));
    Rectangle(hdc, 30, 30, 40, 40);
    // Without a pen the fill covers the border pixels but stops one short on the right/bottom.
    EXPECT_EQ(at(30, 30), 0x808080u);
    EXPECT_EQ(at(38, 38), 0x808080u);
    EXPECT_EQ(at(39, 39), 0xFFFFFFu);
}

TEST_F(Gdi, SelectObjectReturnsThePreviousObjectOfTheSameKind) {
    HGDIOBJ stockBrush = SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(stockBrush, GetStockObject(WHITE_BRUSH));
    HBRUSH mine = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(SelectObject(hdc, mine), GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(SelectObject(hdc, GetStockObject(BLACK_BRUSH)), mine);
    EXPECT_TRUE(DeleteObject(mine));
    EXPECT_FALSE(DeleteObject(mine));  // already gone: refused, not followed
    EXPECT_EQ(SelectObject(hdc, mine), nullptr);
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(0x1234)));
}

TEST_F(Gdi, AnObjectDeletedWhileSelectedStaysUsableByItsDC) {
    fill(0xFFFFFF);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(hdc, brush);
    DeleteObject(brush);
    Rectangle(hdc, 0, 0, 10, 10);
    EXPECT_EQ(at(5, 5), 0x0000FFu);
}

TEST_F(Gdi, ABitmapCannotBeSelectedIntoAWindowDC) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 4;
    bmi.bmiHeader.biHeight = 4;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    HBITMAP bitmap = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, nullptr, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(SelectObject(hdc, bitmap), HGDI_ERROR);
    DeleteObject(bitmap);
}

TEST_F(Gdi, DrawingThroughAStaleDCOfADestroyedWindowIsHarmless) {
    HWND other = CreateWindowExA(0, "canvas-test", "other", 0, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    HDC otherDC = GetDC(other);
    DestroyWindow(other);
    EXPECT_FALSE(IsWindow(other));
    EXPECT_TRUE(Rectangle(otherDC, 0, 0, 5, 5));
    EXPECT_EQ(GetDC(other), nullptr);
    ReleaseDC(other, otherDC);
    EXPECT_FALSE(Rectangle(otherDC, 0, 0, 5, 5));
}

// ---- Text --------------------------------------------------------------------------------

HFONT makeFont(const char* face, int height) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

class Text : public HeadlessCanvas {
protected:
    // Bounding box of pixels that differ from `background`.
    RECT inked(uint32_t background) {
        RECT box{kWidth, kHeight, -1, -1};
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (at(x, y) != background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
    int count(uint32_t pixel) {
        int n = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) n += at(x, y) == pixel;
        return n;
    }
};

TEST_F(Text, TransparentTextLandsInsideItsCellInItsColourAndLeavesTheBackground) {
    HFONT font = makeFont("Impact", 18);
    ASSERT_NE(font, nullptr);
    SelectObject(hdc, font);
    fill(0x000000);
    SetTextColor(hdc, RGB(22, 199, 35));
    EXPECT_EQ(SetBkMode(hdc, TRANSPARENT), OPAQUE);
    ASSERT_TRUE(TextOutA(hdc, 40, 30, "HELLO", 5));
    RECT box = inked(0x000000);
    EXPECT_GE(box.left, 40);
    EXPECT_GE(box.top, 30);
    EXPECT_LE(box.bottom, 30 + 18);
    EXPECT_LT(box.left, 44);         // starts at the reference point, not further right
    EXPECT_LT(box.top, 38);          // capitals reach the upper part of the cell
    EXPECT_GT(count(0x16C723), 40);  // solid strokes in exactly the text colour
    // Everything else is either background or a blend towards the text colour.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint32_t p = at(x, y);
            EXPECT_LE((p >> 16) & 0xFF, 22u);
            EXPECT_LE(p & 0xFF, 35u);
        }
    DeleteObject(font);
}

TEST_F(Text, OpaqueTextFillsItsCellWithTheBackgroundColour) {
    HFONT font = makeFont("DejaVu Sans", 20);
    ASSERT_NE(font, nullptr);
    SelectObject(hdc, font);
    fill(0x000000);
    SetBkColor(hdc, RGB(0, 0, 255));
    SetTextColor(hdc, RGB(255, 255, 255));
    ASSERT_TRUE(TextOutA(hdc, 10, 10, "ii", 2));
    RECT box = inked(0x000000);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.bottom, 30);  // the whole 20-pixel cell
    EXPECT_EQ(at(10, 10), 0x0000FFu);
    DeleteObject(font);
}

TEST_F(Text, ImpactKeepsItsNarrowSpacesSoPaddedLabelsStayInTheirPanel) {
    HFONT font = makeFont("Impact", 18);
    SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    fill(0xFFFFFF);
    TextOutA(hdc, 0, 0, "                         ---X", 29);
    RECT box = inked(0xFFFFFF);
    // 25 spaces of Impact 18 are about 65 pixels; a plain sans face would need over 100.
    EXPECT_GT(box.left, 55);
    EXPECT_LT(box.left, 75);
    EXPECT_LT(box.right, 120);
    DeleteObject(font);
}

TEST_F(Text, EmptyOrBadTextDrawsNothing) {
    fill(0x000000);
    EXPECT_TRUE(TextOutA(hdc, 0, 0, "", 0));
    EXPECT_FALSE(TextOutA(hdc, 0, 0, nullptr, 3));
    EXPECT_FALSE(TextOutA(hdc, 0, 0, "x", -1));
    EXPECT_EQ(inked(0x000000).right, -1);
    // Text far outside the canvas is clipped, never written out of bounds.
    EXPECT_TRUE(TextOutA(hdc, -5000, 5000, "clipped", 7));
    EXPECT_TRUE(TextOutA(hdc, kWidth - 3, kHeight - 3, "\xff\xe9W", 3));
}

TEST_F(Text, NegativeHeightsSizeTheCharactersNotTheCell) {
    HFONT cell = makeFont("DejaVu Sans", 30);
    HFONT em = makeFont("DejaVu Sans", -30);
    SetBkMode(hdc, TRANSPARENT);
    fill(0xFFFFFF);
    SelectObject(hdc, cell);
    TextOutA(hdc, 0, 0, "H", 1);
    int cellHeight = inked(0xFFFFFF).bottom - inked(0xFFFFFF).top;
    fill(0xFFFFFF);
    SelectObject(hdc, em);
    TextOutA(hdc, 0, 0, "H", 1);
    int emHeight = inked(0xFFFFFF).bottom - inked(0xFFFFFF).top;
    EXPECT_GT(emHeight, cellHeight);
    DeleteObject(cell);
    DeleteObject(em);
}

}  // namespace
