// Device contexts and the GDI objects selected into them: brushes, pens, fonts, bitmaps.
#include "platform/core/layer.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vorlaxis::platform {

namespace {

constexpr int kStockCount = 18;  // GetStockObject indices 0..17
constexpr int kSysColorCount = 31;

uint32_t sysColorPixel(int index) {
    switch (index) {
    case COLOR_WINDOW: return 0xFFFFFF;
    case COLOR_WINDOWTEXT: return 0x000000;
    case COLOR_BTNFACE: return 0xF0F0F0;
    default: return 0xC0C0C0;
    }
}

std::shared_ptr<GdiObject> makeObject(GdiObject::Kind kind, bool stock) {
    auto object = std::make_shared<GdiObject>();
    object->kind = kind;
    object->stock = stock;
    return object;
}

std::shared_ptr<GdiObject> makeBrushOrPen(GdiObject::Kind kind, bool stock, bool hollow,
                                          uint32_t pixel) {
    auto object = makeObject(kind, stock);
    object->hollow = hollow;
    object->pixel = pixel;
    return object;
}

struct StockTable {
    std::array<HGDIOBJ, kStockCount> objects{};
    std::array<HBRUSH, kSysColorCount> sysBrushes{};
    HGDIOBJ bitmap = nullptr;  // the 1 x 1 bitmap every memory DC starts with
};

HGDIOBJ registerStock(std::shared_ptr<GdiObject> object) {
    return reinterpret_cast<HGDIOBJ>(gdiObjects().add(std::move(object)));
}

void makeStockBrushesAndPens(StockTable& table) {
    using Kind = GdiObject::Kind;
    const uint32_t grays[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
    for (int i = WHITE_BRUSH; i <= BLACK_BRUSH; ++i)
        table.objects[i] = registerStock(makeBrushOrPen(Kind::Brush, true, false, grays[i]));
    table.objects[NULL_BRUSH] = registerStock(makeBrushOrPen(Kind::Brush, true, true, 0));
    table.objects[WHITE_PEN] = registerStock(makeBrushOrPen(Kind::Pen, true, false, 0xFFFFFF));
    table.objects[BLACK_PEN] = registerStock(makeBrushOrPen(Kind::Pen, true, false, 0));
    table.objects[NULL_PEN] = registerStock(makeBrushOrPen(Kind::Pen, true, true, 0));
    for (int i = 0; i < kSysColorCount; ++i)
        table.sysBrushes[i] = static_cast<HBRUSH>(
            registerStock(makeBrushOrPen(Kind::Brush, true, false, sysColorPixel(i))));
}

void makeStockFontsAndBitmap(StockTable& table) {
    auto font = makeObject(GdiObject::Kind::Font, true);
    font->font = defaultFont();
    table.objects[SYSTEM_FONT] = registerStock(font);
    table.objects[DEFAULT_GUI_FONT] = registerStock(font);
    auto bitmap = makeObject(GdiObject::Kind::Bitmap, true);
    bitmap->canvas = makeCanvas(1, 1, false, 0);
    table.bitmap = registerStock(bitmap);
}

const StockTable& stock() {
    static const StockTable table = [] {
        StockTable made;
        makeStockBrushesAndPens(made);
        makeStockFontsAndBitmap(made);
        return made;
    }();
    return table;
}

// Selects `handle` into the slot of its kind; the caller holds the DC's lock.
HGDIOBJ selectInto(DeviceContext& dc, HGDIOBJ handle, const std::shared_ptr<GdiObject>& object) {
    HGDIOBJ previous = nullptr;
    switch (object->kind) {
    case GdiObject::Kind::Brush:
        previous = std::exchange(dc.brushHandle, handle);
        dc.brush = object;
        break;
    case GdiObject::Kind::Pen:
        previous = std::exchange(dc.penHandle, handle);
        dc.pen = object;
        break;
    case GdiObject::Kind::Font:
        previous = std::exchange(dc.fontHandle, handle);
        dc.font = object;
        break;
    case GdiObject::Kind::Bitmap:
        if (dc.kind != DeviceContext::Kind::Memory) return HGDI_ERROR;
        previous = std::exchange(dc.bitmapHandle, handle);
        dc.bitmap = object;
        dc.canvas = object->canvas;
        break;
    }
    return previous;
}

HDC newDC(DeviceContext::Kind kind, HWND window, std::shared_ptr<Canvas> canvas) {
    auto dc = std::make_shared<DeviceContext>();
    dc->kind = kind;
    dc->window = window;
    dc->canvas = std::move(canvas);
    const StockTable& table = stock();
    for (int index : {WHITE_BRUSH, BLACK_PEN, SYSTEM_FONT})
        selectInto(*dc, table.objects[index], gdiObjects().find(table.objects[index]));
    if (kind == DeviceContext::Kind::Memory)
        selectInto(*dc, table.bitmap, gdiObjects().find(table.bitmap));
    return reinterpret_cast<HDC>(deviceContexts().add(dc));
}

// Reads a DC attribute, or `fallback` for an invalid DC.
template <typename T, typename F>
T withDC(HDC hdc, T fallback, F&& f) {
    auto dc = findDC(hdc);
    if (!dc) return fallback;
    std::lock_guard<std::mutex> guard(dc->mutex);
    return f(*dc);
}

void drawFrame(Canvas& canvas, int left, int top, int right, int bottom, uint32_t pixel) {
    fillRect(canvas, left, top, right, top + 1, pixel);
    fillRect(canvas, left, bottom - 1, right, bottom, pixel);
    fillRect(canvas, left, top, left + 1, bottom, pixel);
    fillRect(canvas, right - 1, top, right, bottom, pixel);
}

}  // namespace

HandleTable<GdiObject>& gdiObjects() {
    static HandleTable<GdiObject> table;
    return table;
}

HandleTable<DeviceContext>& deviceContexts() {
    static HandleTable<DeviceContext> table;
    return table;
}

std::shared_ptr<DeviceContext> findDC(HDC hdc) {
    return hdc ? deviceContexts().find(hdc) : nullptr;
}

std::shared_ptr<Canvas> canvasOf(HDC hdc) {
    return withDC(hdc, std::shared_ptr<Canvas>(), [](DeviceContext& dc) { return dc.canvas; });
}

bool brushPixel(HBRUSH brush, uint32_t* pixel) {
    auto value = reinterpret_cast<uintptr_t>(brush);
    if (value >= 1 && value <= kSysColorCount) {
        *pixel = sysColorPixel(static_cast<int>(value - 1));
        return true;
    }
    auto object = brush ? gdiObjects().find(brush) : nullptr;
    if (!object || object->kind != GdiObject::Kind::Brush || object->hollow) return false;
    *pixel = object->pixel;
    return true;
}

}  // namespace vorlaxis::platform

using namespace vorlaxis::platform;

HDC WINAPI GetDC(HWND hWnd) {
    if (!hWnd)
        return requireDisplay() ? newDC(DeviceContext::Kind::Screen, nullptr, nullptr) : nullptr;
    auto window = findWindow(hWnd);
    return window ? newDC(DeviceContext::Kind::Window, hWnd, window->canvas) : nullptr;
}

int WINAPI ReleaseDC(HWND, HDC hdc) {
    auto dc = findDC(hdc);
    if (!dc || dc->kind == DeviceContext::Kind::Memory) return 0;
    deviceContexts().remove(hdc);
    return 1;
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    if (hdc && !findDC(hdc)) return nullptr;
    return newDC(DeviceContext::Kind::Memory, nullptr, nullptr);
}

BOOL WINAPI DeleteDC(HDC hdc) { return hdc && deviceContexts().remove(hdc) ? TRUE : FALSE; }

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ obj) {
    auto object = obj ? gdiObjects().find(obj) : nullptr;
    if (!object) return nullptr;
    return withDC(hdc, HGDIOBJ(nullptr),
                  [&](DeviceContext& dc) { return selectInto(dc, obj, object); });
}

BOOL WINAPI DeleteObject(HGDIOBJ obj) {
    auto object = obj ? gdiObjects().find(obj) : nullptr;
    if (!object) return FALSE;
    // A DC that still has it selected keeps its own reference, so deleting never dangles.
    if (!object->stock) gdiObjects().remove(obj);
    return TRUE;
}

HGDIOBJ WINAPI GetStockObject(int index) {
    if (index < 0 || index >= kStockCount) return nullptr;
    return stock().objects[index];
}

HBRUSH WINAPI GetSysColorBrush(int index) {
    if (index < 0 || index >= kSysColorCount) return nullptr;
    return stock().sysBrushes[index];
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto brush = makeBrushOrPen(GdiObject::Kind::Brush, false, false, pixelFromColor(color));
    return reinterpret_cast<HBRUSH>(gdiObjects().add(brush));
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    return withDC(hdc, COLORREF(CLR_INVALID),
                  [&](DeviceContext& dc) { return std::exchange(dc.textColor, color); });
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    return withDC(hdc, COLORREF(CLR_INVALID),
                  [&](DeviceContext& dc) { return std::exchange(dc.bkColor, color); });
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return withDC(hdc, 0, [&](DeviceContext& dc) { return std::exchange(dc.bkMode, mode); });
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    auto dc = findDC(hdc);
    if (!dc) return FALSE;
    std::shared_ptr<Canvas> canvas;
    std::shared_ptr<GdiObject> brush, pen;
    {
        std::lock_guard<std::mutex> guard(dc->mutex);
        canvas = dc->canvas;
        brush = dc->brush;
        pen = dc->pen;
    }
    if (!canvas) return TRUE;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // GDI draws the border as four lines that each leave out their last pixel: nothing is
    // left of them in an empty or a 1 x 1 rectangle.
    if (left == right || top == bottom || (right - left == 1 && bottom - top == 1)) return TRUE;
    bool outlined = pen && !pen->hollow;
    std::lock_guard<std::mutex> guard(canvas->mutex);
    // Without a pen the rectangle loses its right and bottom border pixels, as in GDI.
    int inset = outlined ? 1 : 0;
    if (brush && !brush->hollow)
        fillRect(*canvas, left + inset, top + inset, right - 1, bottom - 1, brush->pixel);
    if (outlined) drawFrame(*canvas, left, top, right, bottom, pen->pixel);
    canvas->markChanged();
    return TRUE;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    auto canvas = canvasOf(hdc);
    if (!canvas) return CLR_INVALID;
    std::lock_guard<std::mutex> guard(canvas->mutex);
    if (x < 0 || x >= canvas->width || y < 0 || y >= canvas->height) return CLR_INVALID;
    return colorFromPixel(canvas->row(y)[x]);
}
