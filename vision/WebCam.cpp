// Camera connection, the frame store and the ways pictures get in and out of it.
#include "vision/WebCam.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/system_text.h"
#include "vision/PixelOps.h"
#include "vision/panel_layout.h"

using namespace vision;

namespace {

constexpr int kBytesPerLine = kFrameWidth * 4;
constexpr int kBitmapHeaderBytes = 54;
constexpr int kBitmapLineBytes = kFrameWidth * 3;

// 320 x 240, bottom-up (positive height), 32 bits, no compression: the layout of both the
// capture read-back and the drawing of a frame into the control panel.
BITMAPINFO frameBitmapInfo() {
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = kFrameWidth;
    bmi.bmiHeader.biHeight = kFrameHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// Bottom-up 32-bit lines, blue first, into the top-down frame.
void storeBottomUpLines(Image& img, const uint8_t* bits) {
    for (int y = 0; y < kFrameHeight; ++y) {
        const uint8_t* line = bits + static_cast<size_t>(kFrameHeight - 1 - y) * kBytesPerLine;
        Pixel* row = img.pixels[y];
        for (int x = 0; x < kFrameWidth; ++x) {
            uint32_t word;
            std::memcpy(&word, line + 4 * x, sizeof word);
            storeColour(row[x], colourOfDibWord(word));
        }
    }
}

// The memory device context and DIB section that a grab goes through; whatever was made
// is released on every path, the bitmap deselected first so that it can really be deleted.
struct GrabTarget {
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;

    ~GrabTarget() {
        if (previous != nullptr) {
            SelectObject(memory, previous);
        }
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        if (memory != nullptr) {
            DeleteDC(memory);
        }
    }
};

bool copyPreview(HDC capture, GrabTarget& t, BITMAPINFO& bmi) {
    t.memory = CreateCompatibleDC(capture);
    if (t.memory == nullptr) {
        return false;
    }
    void* bits = nullptr;
    t.bitmap = CreateDIBSection(capture, &bmi, DIB_PAL_COLORS, &bits, nullptr, 0);
    if (t.bitmap == nullptr) {
        return false;
    }
    HGDIOBJ previous = SelectObject(t.memory, t.bitmap);
    if (previous == nullptr || previous == HGDI_ERROR) {
        return false;
    }
    t.previous = previous;
    return BitBlt(t.memory, 0, 0, kFrameWidth, kFrameHeight, capture, 0, 0, SRCCOPY) != 0;
}

#ifdef _WIN32
// Windows says nothing by itself when the capture window cannot be made or its driver will not
// connect: name the step, the capture driver Video for Windows lists (if any) and the last
// error Windows gave, so that the verdict that follows has a reason before it.
void explainCaptureFailure(const char* step) {
    const DWORD code = GetLastError();
    char name[128] = "";
    char version[128] = "";
    std::string reason = step;
    if (capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version)) {
        reason += std::string(" (capture driver 0: ") + name + ")";
    } else {
        reason += ": no Video for Windows capture driver is installed";
    }
    if (code != 0) {
        reason +=
            "; Windows error " + std::to_string(code) + ": " + vorlaxis::platform::systemText(code);
    }
    std::fprintf(stderr, "%s\n", reason.c_str());
}
#endif

// Clears Windows' last error, so that what is left after a failed capture step is its own.
void startCaptureStep() {
#ifdef _WIN32
    SetLastError(0);
#endif
}

// A capture step failed; elsewhere than on Windows the platform layer has already said why.
bool failToConnect(const char* step) {
#ifdef _WIN32
    explainCaptureFailure(step);
#else
    (void)step;
#endif
    std::fputs("Unable to connect to the camera\n", stderr);
    return false;
}

}  // namespace

CWebCam::CWebCam()
    : baryX1(kHalfMiddleColumn),
      baryY1(kMiddleRow),
      baryX2(kHalfMiddleColumn),
      baryY2(kMiddleRow),
      varX1(0),
      varY1(0),
      varX2(0),
      varY2(0),
      rps1(kRock),
      rps2(kRock),
      nbPixels2(1),
      nbPixels1(1),
      handIn1(0),
      handIn2(0),
      hWndParent(nullptr),
      hDCAffichage(nullptr),
      hDCCapture(nullptr),
      hWndCapture(nullptr) {
    // One block per slot, so that rows follow each other in memory; zeroed so that a frame
    // read before the first grab is black rather than indeterminate.
    for (Image& img : images) {
        img.width = kFrameWidth;
        img.height = kFrameHeight;
        Pixel* block = new Pixel[kFramePixels]();
        for (int y = 0; y < kFrameHeight; ++y) {
            img.pixels[y] = block + y * kFrameWidth;
        }
    }
}

CWebCam::~CWebCam() {
    for (Image& img : images) {
        delete[] img.pixels[0];
    }
}

bool CWebCam::Connect(int driver) {
    startCaptureStep();
    hWndCapture = capCreateCaptureWindowA("handle", WS_CHILD | WS_VISIBLE, panel::kPreviewX, 0,
                                          kFrameWidth, kFrameHeight, hWndParent, 0);
    if (!IsWindow(hWndCapture)) {
        return failToConnect("No capture window could be made");
    }
    startCaptureStep();
    if (SendMessageA(hWndCapture, WM_CAP_DRIVER_CONNECT, static_cast<WPARAM>(driver), 0) == 0) {
        return failToConnect("The capture driver did not connect");
    }
    hDCCapture = GetDC(hWndCapture);
    return true;
}

void CWebCam::AfficheWebCam(int periodMs) {
    static const UINT messages[3] = {WM_CAP_SET_SCALE, WM_CAP_SET_PREVIEWRATE, WM_CAP_SET_PREVIEW};
    const WPARAM values[3] = {1, static_cast<WPARAM>(periodMs), 1};
    for (int i = 0; i < 3; ++i) {
        if (IsWindow(hWndCapture)) {
            SendMessageA(hWndCapture, messages[i], values[i], 0);
        }
    }
    if (IsWindow(hWndCapture)) ShowWindow(hWndCapture, SW_SHOW);
}

void CWebCam::HideWebCam() {
    if (!IsWindow(hWndCapture)) return;
    SendMessageA(hWndCapture, WM_CAP_SET_PREVIEW, 0, 0);
    ShowWindow(hWndCapture, SW_HIDE);
}

// Reads back what the preview window shows; any failed step leaves the slot as it was.
void CWebCam::ChargeCapture(int slot) {
    const std::unique_ptr<uint8_t[]> buffer(new uint8_t[static_cast<size_t>(kFramePixels) * 4]);
    BITMAPINFO bmi = frameBitmapInfo();
    GrabTarget target;
    if (!copyPreview(hDCCapture, target, bmi)) {
        return;
    }
    HDC screen = GetDC(nullptr);
    const int lines =
        GetDIBits(screen, target.bitmap, 0, kFrameHeight, buffer.get(), &bmi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    // A failed read-back would leave the buffer unfilled: keep the previous frame instead.
    if (lines != kFrameHeight) {
        return;
    }
    storeBottomUpLines(images[slot], buffer.get());
}

// The header is not checked: any file is read as 320 x 240 at 24 bits, and every byte past
// its end reads as 255.
void CWebCam::ChargeBitmap(int slot) {
    char name[32];
    std::snprintf(name, sizeof name, "%d.bmp", slot);
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        return;
    }
    std::vector<uint8_t> data(
        kBitmapHeaderBytes + static_cast<size_t>(kBitmapLineBytes) * kFrameHeight, 255);
    const size_t got = std::fread(data.data(), 1, data.size(), file);
    std::fclose(file);
    (void)got;  // short files keep the 255 fill past their end
    const uint8_t* pixels = data.data() + kBitmapHeaderBytes;
    for (int n = 0; n < kFrameHeight; ++n) {
        const uint8_t* line = pixels + static_cast<size_t>(n) * kBitmapLineBytes;
        Pixel* row = images[slot].pixels[kFrameHeight - 1 - n];
        for (int m = 0; m < kFrameWidth; ++m) {
            setRGB(row[m], line[3 * m + 2], line[3 * m + 1], line[3 * m]);
        }
    }
}

void CWebCam::RecupereImage(int slot) {
    for (int y = 0; y < kFrameHeight; ++y) {
        Pixel* row = images[slot].pixels[y];
        for (int x = 0; x < kFrameWidth; ++x) {
            setFromColour(row[x], static_cast<int32_t>(GetPixel(hDCCapture, x, y)));
        }
    }
}

void CWebCam::Recupere2Image(int slotA, int slotB) {
    static bool image = false;  // shared by every call: the two slots are filled in turn
    RecupereImage(image ? slotB : slotA);
    image = !image;
}

void CWebCam::CopieImage(int source, int target) {
    if (source == target) {
        return;
    }
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* from = images[source].pixels[y];
        Pixel* to = images[target].pixels[y];
        for (int x = 0; x < kFrameWidth; ++x) {
            to[x].couleur = from[x].couleur;
            to[x].b = from[x].b;
            to[x].g = from[x].g;
            to[x].r = from[x].r;
        }
    }
}

void CWebCam::Charge2Capture(int slot, int previous) {
    CopieImage(slot, previous);
    ChargeCapture(slot);
}

// Mirrored left to right, as the players see themselves: player 1's half is frame columns
// 319..160.
void CWebCam::AfficheImage(int slot, int left1, int left2) {
    std::vector<uint8_t> buffer(static_cast<size_t>(kFramePixels) * 4);
    const BITMAPINFO bmi = frameBitmapInfo();
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = images[slot].pixels[y];
        uint8_t* line = buffer.data() + static_cast<size_t>(kFrameHeight - 1 - y) * kBytesPerLine;
        for (int x = 0; x < kFrameWidth; ++x) {
            const Pixel& p = row[kFrameWidth - 1 - x];
            line[4 * x] = p.b;
            line[4 * x + 1] = p.g;
            line[4 * x + 2] = p.r;
        }
    }
    SetDIBitsToDevice(hDCAffichage, left1, 0, kHalfWidth, kFrameHeight, 0, 0, 0, kFrameHeight,
                      buffer.data(), &bmi, DIB_RGB_COLORS);
    SetDIBitsToDevice(hDCAffichage, left2, 0, kHalfWidth, kFrameHeight, kHalfWidth, 0, 0,
                      kFrameHeight, buffer.data(), &bmi, DIB_RGB_COLORS);
}
