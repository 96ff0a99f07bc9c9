// Frames in and out of the store through headless windows: the preview read-back, the
// mirrored display into the control panel, pixel-by-pixel reads, and the camera connection.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/support/headless_window.h"
#include "tests/support/scoped_env.h"
#include "tests/support/y4m_writer.h"
#include "tests/vision/frames.h"
#include "vision/WebCam.h"
#include "vision/panel_layout.h"

using testframes::rgb;

namespace {

// Black where nothing was drawn, so the checks for untouched pixels can look for 0.
testsupport::HeadlessWindow makeWindow(int width, int height) {
    return testsupport::HeadlessWindow("vision-test", width, height, WS_OVERLAPPED,
                                       static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// A 320 x 240 picture drawn top-down by rule: colour(x, y).
template <typename Colour>
void drawPicture(HDC dc, Colour colour) {
    std::vector<uint32_t> bits(320 * 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) bits[static_cast<size_t>(y) * 320 + x] = colour(x, y);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 320;
    bmi.bmiHeader.biHeight = -240;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    ASSERT_EQ(
        SetDIBitsToDevice(dc, 0, 0, 320, 240, 0, 0, 0, 240, bits.data(), &bmi, DIB_RGB_COLORS),
        240);
}

// DIB words are 0x00RRGGBB; Pixel colours are 0x00BBGGRR.
uint32_t dibWord(int r, int g, int b) { return static_cast<uint32_t>(b | g << 8 | r << 16); }

class Capture : public ::testing::Test {
protected:
    std::unique_ptr<CWebCam> cam = std::make_unique<CWebCam>();
    testsupport::HeadlessWindow sourceWindow = makeWindow(320, 240);
    HWND source = sourceWindow.handle();
    HDC sourceDC = nullptr;

    void SetUp() override {
        ASSERT_NE(source, nullptr);
        sourceDC = GetDC(source);
        cam->hDCCapture = sourceDC;
        drawPicture(sourceDC,
                    [](int x, int y) { return dibWord(x & 0xFF, y, (x >> 8) * 100 + 7); });
    }
    void TearDown() override { ReleaseDC(source, sourceDC); }
};

TEST_F(Capture, ChargeCaptureReadsThePreviewTopDownUnmirrored) {
    cam->ChargeCapture(2);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const Pixel& p = cam->images[2].pixels[y][x];
            ASSERT_TRUE(testframes::samePixel(p, rgb(x & 0xFF, y, (x >> 8) * 100 + 7)))
                << x << "," << y;
            ASSERT_EQ(static_cast<COLORREF>(p.couleur), GetPixel(sourceDC, x, y));
        }
    drawPicture(sourceDC, [](int, int) { return dibWord(12, 34, 56); });
    cam->ChargeCapture(2);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_TRUE(testframes::samePixel(cam->images[2].pixels[y][x], rgb(12, 34, 56)));
}

TEST_F(Capture, FailedGrabKeepsThePreviousFrame) {
    testframes::fill(*cam, 0, rgb(1, 2, 3));
    cam->hDCCapture = GetDC(nullptr);  // the screen cannot be read back
    cam->ChargeCapture(0);
    EXPECT_TRUE(testframes::samePixel(cam->images[0].pixels[0][0], rgb(1, 2, 3)));
    cam->hDCCapture = nullptr;
    cam->ChargeCapture(0);
    EXPECT_TRUE(testframes::samePixel(cam->images[0].pixels[239][319], rgb(1, 2, 3)));
}

TEST_F(Capture, RecupereImageMatchesTheDibReadBackAndMarksUnreadablePixels) {
    cam->ChargeCapture(0);
    cam->RecupereImage(1);
    EXPECT_TRUE(testframes::sameFrame(*cam, 0, *cam, 1));
    cam->hDCCapture = GetDC(nullptr);  // every pixel reads as the invalid colour
    cam->RecupereImage(1);
    const Pixel& p = cam->images[1].pixels[7][9];
    EXPECT_EQ(p.couleur, -1);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 0);
}

TEST_F(Capture, Recupere2ImageFillsTheTwoSlotsInTurn) {
    const Pixel mark = rgb(9, 9, 9);
    testframes::fill(*cam, 0, mark);
    testframes::fill(*cam, 1, mark);
    cam->Recupere2Image(0, 1);
    // The alternation is shared by every call in the process: find which slot came first.
    const int first = cam->images[0].pixels[0][0].couleur != mark.couleur ? 0 : 1;
    const int second = 1 - first;
    EXPECT_EQ(cam->images[second].pixels[0][0].couleur, mark.couleur);
    cam->Recupere2Image(0, 1);
    EXPECT_NE(cam->images[second].pixels[0][0].couleur, mark.couleur);
    testframes::fill(*cam, first, mark);
    cam->Recupere2Image(0, 1);
    EXPECT_NE(cam->images[first].pixels[0][0].couleur, mark.couleur);
}

TEST_F(Capture, Charge2CaptureMovesTheOldFrameAlong) {
    testframes::fill(*cam, 0, rgb(4, 5, 6));
    cam->Charge2Capture(0, 1);
    EXPECT_TRUE(testframes::samePixel(cam->images[1].pixels[100][100], rgb(4, 5, 6)));
    EXPECT_TRUE(testframes::samePixel(cam->images[0].pixels[100][100], rgb(100, 100, 7)));
}

TEST_F(Capture, AfficheImageShowsMirroredHalvesBesideThePreview) {
    const testsupport::HeadlessWindow panelWindow =
        makeWindow(panel::kClientWidth, panel::kClientHeight);
    HWND panel = panelWindow.handle();
    HDC panelDC = GetDC(panel);
    cam->hDCAffichage = panelDC;
    std::mt19937 rng(3);
    testframes::randomFrame(*cam, 0, rng);
    cam->AfficheImage(0, panel::kMask1X, panel::kMask2X);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 160; ++x) {
            ASSERT_EQ(GetPixel(panelDC, panel::kMask1X + x, y),
                      static_cast<COLORREF>(cam->images[0].pixels[y][319 - x].couleur));
            ASSERT_EQ(GetPixel(panelDC, panel::kMask2X + x, y),
                      static_cast<COLORREF>(cam->images[0].pixels[y][159 - x].couleur));
        }
    // Nothing lands outside the two halves.
    EXPECT_EQ(GetPixel(panelDC, panel::kMask1X - 1, 10), 0u);
    EXPECT_EQ(GetPixel(panelDC, panel::kMask1X + panel::kMaskWidth, 10), 0u);
    EXPECT_EQ(GetPixel(panelDC, panel::kMask2X - 1, 10), 0u);
    EXPECT_EQ(GetPixel(panelDC, panel::kMask2X + panel::kMaskWidth, 10), 0u);
    EXPECT_EQ(GetPixel(panelDC, 200, 240), 0u);
    ReleaseDC(panel, panelDC);
}

// A 4:4:4 clip whose left half is bright and right half dark.
std::string writeClip() {
    const std::string path = ::testing::TempDir() + "vision_halves.y4m";
    testsupport::YuvPicture halves(vision::kFrameWidth, vision::kFrameHeight);
    for (int y = 0; y < halves.height; ++y)
        for (int x = 0; x < halves.width; ++x)
            halves.set(x, y, {static_cast<uint8_t>(x < vision::kHalfWidth ? 200 : 40), 128, 128});
    return testsupport::writeY4m(path, halves, 10, 2) ? path : "";
}

TEST(Camera, ConnectShowsTheClipAndChargeCaptureReturnsIt) {
    const testsupport::ScopedEnv camera("VORLAXIS_CAMERA", writeClip());
    auto cam = std::make_unique<CWebCam>();
    const testsupport::HeadlessWindow parent =
        makeWindow(panel::kClientWidth, panel::kClientHeight);
    cam->hWndParent = parent.handle();
    ASSERT_TRUE(cam->Connect());
    ASSERT_TRUE(IsWindow(cam->hWndCapture));
    ASSERT_NE(cam->hDCCapture, nullptr);
    cam->AfficheWebCam();
    MSG msg;
    for (int i = 0; i < 50 && GetPixel(cam->hDCCapture, 10, 10) == 0; ++i) {
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    }
    cam->ChargeCapture(0);
    const Pixel left = cam->images[0].pixels[120][10];
    const Pixel right = cam->images[0].pixels[120][310];
    EXPECT_EQ(left.r, left.g);
    EXPECT_EQ(left.g, left.b);
    EXPECT_GT(left.r, 150);
    EXPECT_LT(right.r, 80);
    cam->CalBiCouleur(0);
    cam->calculBarycentre(0);
    cam->calculVariance(0);
    EXPECT_EQ(cam->nbPixels2, 160 * 240);  // the bright half is player 2's
}

TEST(Camera, AMissingCameraIsReportedToTheCallerWithAMessage) {
    const testsupport::ScopedEnv camera("VORLAXIS_CAMERA", "/nonexistent/clip.y4m");
    auto cam = std::make_unique<CWebCam>();
    const testsupport::HeadlessWindow parent =
        makeWindow(panel::kClientWidth, panel::kClientHeight);
    cam->hWndParent = parent.handle();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(cam->Connect());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Unable to connect to the camera"),
              std::string::npos);
}

}  // namespace
