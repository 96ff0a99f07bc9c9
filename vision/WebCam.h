// The one connection to the camera: capture window, the store of three frames, the
// hand-sign readings and the image operations that work on the store.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"
#include "vision/Picture.h"

// One camera pixel; couleur repeats r, g, b packed as 0x00BBGGRR, the platform's colour layout.
struct Pixel {
    uint8_t r;
    uint8_t g;
    uint8_t b;
    int32_t couleur;
};

// Hue, saturation and lightness, each on a 0..240 scale.
struct PixelHSL {
    uint8_t hue;
    uint8_t sat;
    uint8_t lum;
};

// One slot of the frame store: row 0 is the top, column 0 the camera's left edge.
struct Image {
    int32_t width;
    int32_t height;
    Pixel* pixels[kFrameHeight];
};

// The hand pixels of one half picture: their count and the sums of their columns, rows and
// the squares of both, enough to give the centre and then the spreads about any centre.
struct HandMoments {
    int64_t count;
    int64_t sumX;
    int64_t sumY;
    int64_t sumXX;
    int64_t sumYY;
};

class CWebCam {
public:
    // Written by the webcam worker, read by the main loop: relaxed atomics so the
    // cross-thread reads are whole 32-bit values without a data race.
    std::atomic<int32_t> baryX1;
    std::atomic<int32_t> baryY1;
    std::atomic<int32_t> baryX2;
    std::atomic<int32_t> baryY2;
    std::atomic<int32_t> varX1;
    std::atomic<int32_t> varY1;
    std::atomic<int32_t> varX2;
    std::atomic<int32_t> varY2;
    std::atomic<int32_t> rps1;
    std::atomic<int32_t> rps2;
    std::atomic<int32_t> nbPixels2;
    std::atomic<int32_t> nbPixels1;
    // Whether each player's half holds a hand (1) or not (0): in the classic recognition any
    // hand pixel, in the room recognition a hand-sized blob of skin.
    std::atomic<int32_t> handIn1;
    std::atomic<int32_t> handIn2;

    HWND hWndParent;
    HDC hDCAffichage;
    HDC hDCCapture;
    HWND hWndCapture;

    Image images[3];

    CWebCam();
    ~CWebCam();
    CWebCam(const CWebCam&) = delete;
    CWebCam& operator=(const CWebCam&) = delete;

    // Capture and frame store.
    // Connects capture driver `driver` (0 is the default camera); false, after saying so on
    // standard error, when it cannot.
    bool Connect(int driver = 0);
    // The designed preview refresh; a recognition that reads every camera picture asks for
    // the camera's own frame period instead.
    static constexpr int kPreviewPeriodMs = 300;
    void AfficheWebCam(int periodMs = kPreviewPeriodMs);
    // Stops the preview and hides its window, for a run that does not read the camera: what
    // the panel draws there shows again. AfficheWebCam shows it once more.
    void HideWebCam();
    void ChargeCapture(int slot);
    void ChargeBitmap(int slot);
    void RecupereImage(int slot);
    void Recupere2Image(int slotA, int slotB);
    void CopieImage(int source, int target);
    void Charge2Capture(int slot, int previous);
    // Draws the two mirrored halves of the picture in `slot` into hDCAffichage, player 1's with
    // its left edge at x `left1`, player 2's at `left2`.
    void AfficheImage(int slot, int left1, int left2);

    // Hand-sign recognition. calculVariance uses the hand pixels that calculBarycentre found
    // in the same slot: a mask changed by hand in between needs calculBarycentre again.
    void CalGris(int slot);
    Pixel CalMoyCouleur(int slot);
    void CalBiCouleur(int slot);
    void calculBarycentre(int slot);
    void calculVariance(int slot);
    void discriminateRPS(int slot);

    // Point operations.
    void CalRGB(int slot);
    void CalCouleur(int slot);
    void CalInvCouleur(int slot);
    void CalAddCouleur(int slot, int dr, int dg, int db, bool modulo);
    void CalBiCouleurSeuil(int slot);
    void CalExpole16to16(int slot);
    void CalExpole16to256(int slot);
    void CalIntensiteHSL(int slot, bool useHue, bool useSat, bool useLum);
    void CalFixLumiere(int slot, int lum);
    void CalFixTeinte(int slot, int hue);
    void CalFixSaturation(int slot, int sat);

    // Whole-frame statistics.
    Pixel CalSeuilCouleur(int slot);

    // Two frames.
    void CalSoustraction(int a, int b, int target);
    bool CalRessemblance(Pixel p, Pixel q, char seuil);
    void CalMouvement(int a, int b, int target);

    // Neighbourhoods.
    void CalMirroir(int slot, bool horizontal, bool vertical);
    void CalFlou(int slot);
    void CalContourGris(int slot, int seuil);
    void CalContour(int slot, int seuil);

    // Support.
    int min_tbl(int* values, int count);
    int max_tbl(int* values, int count);
    Pixel moyenne(Pixel* pixels, int count);
    PixelHSL CalRGBtoHSL(Pixel p);
    Pixel CalHSLtoRGB(PixelHSL h);
    int16_t HueToRGB(int16_t m1, int16_t m2, int16_t hue);

private:
    // What calculBarycentre last measured in each slot (player 2's half, then player 1's), so
    // that calculVariance finds the spreads without reading the mask a second time. A new
    // mask (CalBiCouleur) clears it; calculVariance reads the slot itself when it is clear.
    HandMoments measured[3][2] = {};
    bool measuredValid[3] = {};
};
