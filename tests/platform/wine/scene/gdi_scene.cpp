// Draws what the control panel draws, with nothing but the calls of platform/win32.h, and
// writes every resulting picture to a file. Built twice, against our emulation and against
// the real GDI (run under Wine), so that a test can compare the two outputs.
//
//   gdi_scene OUT      writes the records below to OUT and exits 0; 1 on any failure
//
// OUT is a sequence of records, each a line "name width height\n" followed by width x height
// 32-bit pixels, rows top-down, bytes blue, green, red, reserved (as GetDIBits gives them).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/platform/bitmap_info.h"
#include "tests/platform/wine/scene/scene.h"

namespace {

using gdi_scene::kInk;
using gdi_scene::kPanelGreen;
using gdi_scene::kPaper;
using testing_platform::describe32;

// A font both sides have the very same file of (Wine gets a copy in its prefix).
const char* const kFace = "DejaVu Sans";
const LONG kCellHeight = 18;

std::FILE* g_out = nullptr;
bool g_failed = false;

void fail(const char* what) {
    std::fprintf(stderr, "gdi_scene: %s failed\n", what);
    g_failed = true;
}

void writeRecord(const std::string& name, int width, int height, const void* topDownPixels) {
    std::fprintf(g_out, "%s %d %d\n", name.c_str(), width, height);
    std::fwrite(topDownPixels, 4, static_cast<size_t>(width) * height, g_out);
}

// A memory DC drawing into a DIB section; rows bottom-up when `bottomUp`.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    bool bottomUp = false;

    Surface(HDC screen, int w, int h, bool upFromBottom, UINT usage = DIB_RGB_COLORS)
        : width(w), height(h), bottomUp(upFromBottom) {
        BITMAPINFO bmi = describe32(w, upFromBottom ? h : -h);
        void* memory = nullptr;
        dc = CreateCompatibleDC(screen);
        bitmap = CreateDIBSection(screen, &bmi, usage, &memory, nullptr, 0);
        if (!dc || !bitmap || !memory) {
            fail("CreateCompatibleDC / CreateDIBSection");
            return;
        }
        bits = static_cast<uint32_t*>(memory);
        previous = SelectObject(dc, bitmap);
    }
    ~Surface() {
        if (previous) SelectObject(dc, previous);
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    bool valid() const { return bits != nullptr; }
    uint32_t& at(int x, int y) { return bits[(bottomUp ? height - 1 - y : y) * width + x]; }

    // Whole surface in one colour, without any pen: a null-pen rectangle one pixel larger.
    void clear(int stockBrush) {
        HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
        HGDIOBJ brush = SelectObject(dc, GetStockObject(stockBrush));
        Rectangle(dc, 0, 0, width + 1, height + 1);
        SelectObject(dc, brush);
        SelectObject(dc, pen);
    }
    // What the section's memory holds, top-down.
    void write(const std::string& name) {
        if (!valid()) return;
        std::vector<uint32_t> rows(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) rows[static_cast<size_t>(y) * width + x] = at(x, y);
        writeRecord(name, width, height, rows.data());
    }
};

// ---- Rectangles ------------------------------------------------------------------------------

void drawRectangles(HDC screen, bool bottomUp) {
    Surface s(screen, 96, 64, bottomUp);
    if (!s.valid()) return;
    s.clear(WHITE_BRUSH);
    HBRUSH red = CreateSolidBrush(kInk);
    HGDIOBJ oldBrush = SelectObject(s.dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = SelectObject(s.dc, GetStockObject(BLACK_PEN));
    Rectangle(s.dc, 2, 2, 14, 12);  // the panel's boxes: black pen, black brush
    SelectObject(s.dc, red);
    Rectangle(s.dc, 16, 2, 30, 12);   // black frame round a coloured fill
    Rectangle(s.dc, 44, 24, 32, 14);  // corners given the other way round
    Rectangle(s.dc, 34, 2, 35, 3);    // 1 x 1: the pen alone
    Rectangle(s.dc, 38, 2, 40, 4);    // 2 x 2: no room left for the fill
    Rectangle(s.dc, 42, 2, 42, 8);    // empty
    SelectObject(s.dc, GetStockObject(NULL_PEN));
    Rectangle(s.dc, 2, 14, 14, 24);  // no pen: the fill loses its right and bottom pixel
    SelectObject(s.dc, GetStockObject(WHITE_PEN));
    SelectObject(s.dc, GetStockObject(GRAY_BRUSH));
    Rectangle(s.dc, 16, 14, 30, 24);
    SelectObject(s.dc, GetStockObject(BLACK_PEN));
    SelectObject(s.dc, GetStockObject(NULL_BRUSH));
    Rectangle(s.dc, 46, 2, 60, 12);  // a frame only
    SelectObject(s.dc, GetSysColorBrush(COLOR_WINDOW));
    Rectangle(s.dc, 62, 2, 76, 12);
    SelectObject(s.dc, red);
    Rectangle(s.dc, -5, 40, 8, 70);    // clipped at the left and bottom edges
    Rectangle(s.dc, 88, -3, 100, 10);  // clipped at the right and top edges
    SelectObject(s.dc, oldPen);
    SelectObject(s.dc, oldBrush);
    DeleteObject(red);
    s.write(bottomUp ? "rectangles-bottom-up" : "rectangles-top-down");
}

// ---- Text ----------------------------------------------------------------------------------

HFONT panelFont() {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = kCellHeight;
    std::strcpy(lf.lfFaceName, kFace);
    return CreateFontIndirectA(&lf);
}

// The panel's lines: labels pushed right by 25 spaces, the values drawn over them, the marker;
// the last ones start outside the surface and are cut at its edges.
struct Line {
    const char* text;
    int x, y;
};
const Line kLines[] = {
    {"                         ---X", 6, 7},
    {"-79", 6, 7},
    {"neutral", 6, 7},
    {"                         ---angle", 6, 7},
    {"PAPER", 6, 7},
    {"SCISS", 6, 7},
    {"o", 6, 7},
    {"240", 6, 7},
    {"PAPER", -7, 20},
    {"o", 236, -9},
};

void drawText(HDC screen, HFONT font, const Line& line, int index, bool opaque) {
    Surface s(screen, 240, 32, false);
    if (!s.valid()) return;
    s.clear(opaque ? WHITE_BRUSH : BLACK_BRUSH);
    HGDIOBJ oldFont = SelectObject(s.dc, font);
    SetTextColor(s.dc, opaque ? kInk : kPanelGreen);
    SetBkColor(s.dc, kPaper);
    SetBkMode(s.dc, opaque ? OPAQUE : TRANSPARENT);
    if (!TextOutA(s.dc, line.x, line.y, line.text, static_cast<int>(std::strlen(line.text))))
        fail("TextOutA");
    SelectObject(s.dc, oldFont);
    s.write((opaque ? gdi_scene::kOpaqueText : gdi_scene::kTransparentText) +
            std::to_string(index));
}

void drawTexts(HDC screen) {
    HFONT font = panelFont();
    if (!font) {
        fail("CreateFontIndirectA");
        return;
    }
    int index = 0;
    for (const Line& line : kLines) {
        drawText(screen, font, line, index, false);
        drawText(screen, font, line, index, true);
        ++index;
    }
    DeleteObject(font);
}

// ---- DIB sections, blits and read-backs ------------------------------------------------------

// A distinct pixel for every position, reserved byte 0 as GDI leaves it.
uint32_t patternAt(int x, int y) {
    return (uint32_t(x * 5 & 0xFF) << 16) | (uint32_t(y * 7 & 0xFF) << 8) |
           uint32_t((x + y) & 0xFF);
}

void fillPattern(Surface& s) {
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) s.at(x, y) = patternAt(x, y);
}

// GetDIBits into a buffer of the given row order, written top-down.
void readBack(HDC screen, Surface& s, bool bottomUp, const std::string& name) {
    BITMAPINFO bmi = describe32(s.width, bottomUp ? s.height : -s.height);
    std::vector<uint32_t> buffer(static_cast<size_t>(s.width) * s.height, 0xDEADBEEF);
    int lines = GetDIBits(screen, s.bitmap, 0, s.height, buffer.data(), &bmi, DIB_RGB_COLORS);
    if (lines != s.height) fail("GetDIBits");
    std::vector<uint32_t> rows(buffer.size());
    for (int y = 0; y < s.height; ++y)
        std::memcpy(&rows[static_cast<size_t>(y) * s.width],
                    &buffer[static_cast<size_t>(bottomUp ? s.height - 1 - y : y) * s.width],
                    sizeof(uint32_t) * s.width);
    writeRecord(name, s.width, s.height, rows.data());
}

// The camera's grab: a section made with DIB_PAL_COLORS, filled by BitBlt from another DC
// (source rows in either order), then read back through the screen DC in both row orders.
void blitRoundTrips(HDC screen) {
    for (bool sourceBottomUp : {true, false}) {
        Surface source(screen, 40, 30, sourceBottomUp);
        Surface grab(screen, 48, 36, true, DIB_PAL_COLORS);
        if (!source.valid() || !grab.valid()) return;
        fillPattern(source);
        grab.clear(LTGRAY_BRUSH);
        if (!BitBlt(grab.dc, 0, 0, 40, 30, source.dc, 0, 0, SRCCOPY)) fail("BitBlt");
        if (!BitBlt(grab.dc, 41, 31, 6, 4, source.dc, 10, 20, SRCCOPY)) fail("BitBlt part");
        std::string from = sourceBottomUp ? "from-bottom-up" : "from-top-down";
        grab.write("blit-" + from);
        readBack(screen, grab, true, "getdibits-bottom-up-" + from);
        readBack(screen, grab, false, "getdibits-top-down-" + from);
    }
}

// The processed picture drawn as the panel does: two halves of one buffer side by side.
void setDIBitsHalves(HDC screen) {
    const int w = 32, h = 24;
    for (bool bottomUp : {true, false}) {
        std::vector<uint32_t> buffer(static_cast<size_t>(w) * h);
        for (int line = 0; line < h; ++line)
            for (int x = 0; x < w; ++x)
                buffer[static_cast<size_t>(line) * w + x] =
                    patternAt(x, bottomUp ? h - 1 - line : line);
        BITMAPINFO bmi = describe32(w, bottomUp ? h : -h);
        Surface target(screen, 60, 30, false);
        if (!target.valid()) return;
        target.clear(WHITE_BRUSH);
        int a = SetDIBitsToDevice(target.dc, 2, 1, w / 2, h, 0, 0, 0, h, buffer.data(), &bmi,
                                  DIB_RGB_COLORS);
        int b = SetDIBitsToDevice(target.dc, 30, 3, w / 2, h, w / 2, 0, 0, h, buffer.data(), &bmi,
                                  DIB_RGB_COLORS);
        if (a != h || b != h) fail("SetDIBitsToDevice");
        target.write(std::string("setdibits-") + (bottomUp ? "bottom-up" : "top-down"));
    }
}

// GetPixel as the camera's slow path reads it: COLORREF values of a patterned section.
void getPixels(HDC screen) {
    Surface s(screen, 16, 8, true);
    if (!s.valid()) return;
    fillPattern(s);
    std::vector<uint32_t> colours;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) colours.push_back(GetPixel(s.dc, x, y));
    colours.push_back(GetPixel(s.dc, s.width, 0));  // outside: CLR_INVALID
    writeRecord("getpixel", static_cast<int>(colours.size()), 1, colours.data());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gdi_scene OUT\n");
        return 1;
    }
    g_out = std::fopen(argv[1], "wb");
    if (!g_out) {
        std::perror(argv[1]);
        return 1;
    }
    HDC screen = GetDC(nullptr);
    drawRectangles(screen, false);
    drawRectangles(screen, true);
    drawTexts(screen);
    blitRoundTrips(screen);
    setDIBitsHalves(screen);
    getPixels(screen);
    ReleaseDC(nullptr, screen);
    if (std::fclose(g_out) != 0) fail("writing the output");
    return g_failed ? 1 : 0;
}
