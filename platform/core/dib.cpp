// Device-independent bitmaps: 32-bit rows, blue first, bottom-up when the height is positive.
#include "platform/core/layer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vorlaxis::platform {

namespace {

// Only the 32-bit uncompressed layout is supported; its rows need no padding.
bool plain32(const BITMAPINFO* bmi) {
    return bmi && bmi->bmiHeader.biBitCount == 32 && bmi->bmiHeader.biCompression == BI_RGB &&
           bmi->bmiHeader.biWidth > 0 && bmi->bmiHeader.biHeight != 0 &&
           bmi->bmiHeader.biHeight != INT32_MIN;
}

// Row (from the top) of a DIB of `height` rows that holds scan line `scan`.
int rowOfScan(int scan, int height, bool bottomUp) { return bottomUp ? height - 1 - scan : scan; }

void describe(const Canvas& canvas, BITMAPINFOHEADER* header) {
    header->biWidth = canvas.width;
    header->biHeight = canvas.bottomUp ? canvas.height : -canvas.height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    header->biSizeImage = static_cast<DWORD>(canvas.width) * canvas.height * 4;
}

// The part [begin, end) of 0..size that keeps both a + i inside 0..limitA and b + i inside
// 0..limitB (canvas sizes never change, so no lock is needed to read them).
struct Span {
    int64_t begin, end;
};
Span clipSpan(int64_t size, int64_t a, int64_t limitA, int64_t b, int64_t limitB) {
    Span span{std::max<int64_t>({0, -a, -b}), std::min<int64_t>({size, limitA - a, limitB - b})};
    if (span.end < span.begin) span.end = span.begin;
    return span;
}

}  // namespace

}  // namespace vorlaxis::platform

using namespace vorlaxis::platform;

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT, void** bits, HANDLE, DWORD) {
    if (bits) *bits = nullptr;
    if ((hdc && !findDC(hdc)) || !plain32(bmi)) return nullptr;
    int height = bmi->bmiHeader.biHeight;
    auto canvas = makeCanvas(bmi->bmiHeader.biWidth, std::abs(height), height > 0, 0);
    if (!canvas) return nullptr;
    auto bitmap = std::make_shared<GdiObject>();
    bitmap->kind = GdiObject::Kind::Bitmap;
    bitmap->canvas = canvas;
    if (bits) *bits = canvas->storage.data();
    return reinterpret_cast<HBITMAP>(gdiObjects().add(bitmap));
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop) {
    if (rop != SRCCOPY || cx < 0 || cy < 0 || !findDC(dest)) return FALSE;
    auto from = canvasOf(src);
    if (!from) return FALSE;  // the screen cannot be read back
    auto to = canvasOf(dest);
    if (!to) return TRUE;
    Span cols = clipSpan(cx, x1, from->width, x, to->width);
    Span rows = clipSpan(cy, y1, from->height, y, to->height);
    int64_t width = cols.end - cols.begin;
    // Copy out first so that source and destination are never locked together.
    std::vector<uint32_t> block(static_cast<size_t>(width * (rows.end - rows.begin)));
    {
        std::lock_guard<std::mutex> guard(from->mutex);
        for (int64_t j = rows.begin; j < rows.end; ++j)
            std::memcpy(&block[(j - rows.begin) * width], from->row(y1 + j) + x1 + cols.begin,
                        sizeof(uint32_t) * width);
    }
    std::lock_guard<std::mutex> guard(to->mutex);
    for (int64_t j = rows.begin; j < rows.end; ++j)
        std::memcpy(to->row(y + j) + x + cols.begin, &block[(j - rows.begin) * width],
                    sizeof(uint32_t) * width);
    to->markChanged();
    return TRUE;
}

int WINAPI GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* bmi,
                     UINT) {
    auto object = bitmap ? gdiObjects().find(bitmap) : nullptr;
    if (!findDC(hdc) || !object || object->kind != GdiObject::Kind::Bitmap || !bmi) return 0;
    Canvas& canvas = *object->canvas;
    std::lock_guard<std::mutex> guard(canvas.mutex);
    if (!bits) {
        describe(canvas, &bmi->bmiHeader);
        return 1;
    }
    if (!plain32(bmi) || start >= static_cast<UINT>(canvas.height)) return 0;
    bool bottomUp = bmi->bmiHeader.biHeight > 0;
    int width = std::min<int>(bmi->bmiHeader.biWidth, canvas.width);
    int count = static_cast<int>(std::min<UINT>(lines, canvas.height - start));
    auto* out = static_cast<uint32_t*>(bits);
    for (int i = 0; i < count; ++i) {
        const uint32_t* row =
            canvas.row(rowOfScan(static_cast<int>(start) + i, canvas.height, bottomUp));
        std::memcpy(out + static_cast<size_t>(i) * bmi->bmiHeader.biWidth, row,
                    sizeof(uint32_t) * width);
    }
    return count;
}

int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                             UINT startScan, UINT lines, const void* bits, const BITMAPINFO* bmi,
                             UINT) {
    if (!findDC(hdc) || !bits || !plain32(bmi)) return 0;
    auto canvas = canvasOf(hdc);
    const int dibWidth = bmi->bmiHeader.biWidth;
    const int dibHeight = std::abs(bmi->bmiHeader.biHeight);
    const bool bottomUp = bmi->bmiHeader.biHeight > 0;
    const int64_t firstScan = startScan;
    const int64_t endScan = std::min<int64_t>(firstScan + lines, dibHeight);
    if (!canvas) return static_cast<int>(endScan - firstScan);
    const auto* in = static_cast<const uint32_t*>(bits);
    std::lock_guard<std::mutex> guard(canvas->mutex);
    // Source rows count from the bottom of a bottom-up DIB, from the top otherwise; either way
    // the block lands upright.
    Span cols = clipSpan(w, xSrc, dibWidth, xDest, canvas->width);
    Span rows = clipSpan(h, 0, h, yDest, canvas->height);
    for (int64_t j = rows.begin; j < rows.end; ++j) {
        int64_t scan = bottomUp ? ySrc + (static_cast<int64_t>(h) - 1 - j) : ySrc + j;
        if (scan < firstScan || scan >= endScan) continue;
        const uint32_t* source = in + (scan - firstScan) * dibWidth + xSrc + cols.begin;
        std::memcpy(canvas->row(static_cast<int>(yDest + j)) + xDest + cols.begin, source,
                    sizeof(uint32_t) * (cols.end - cols.begin));
    }
    canvas->markChanged();
    return static_cast<int>(std::max<int64_t>(endScan - firstScan, 0));
}
