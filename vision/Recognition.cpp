// Hand-sign recognition: the frame in a slot becomes a hand / background mask, and each
// half's hand pixels give that player's hand centre, spreads and sign.
//
// The recognition runs on every pass of the webcam worker; its whole-frame passes live in
// MaskPasses (plain and SSE2 builds) and every result is the same as a plain pixel-by-pixel
// evaluation of the rules.
#include <memory>

#include "vision/MaskPasses.h"
#include "vision/PixelOps.h"
#include "vision/WebCam.h"

using namespace vision;

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

int32_t quotient(int64_t sum, int64_t count) {
    return count > 0 ? static_cast<int32_t>(sum / count) : 0;
}

// The sign rules; n is the other half's hand count. The constants are single precision,
// the comparisons double, as the thresholds were tuned that way.
int32_t signOfSpread(int32_t varX, int32_t varY, int32_t n) {
    const double vx = varX;
    const double vy = varY;
    if (static_cast<double>(1.8f) * vx > vy) {
        return kRock;
    }
    if (vy > static_cast<double>(2.95f) * vx) {
        return kPaper;
    }
    if (vx / static_cast<double>(n) > static_cast<double>(0.4f)) {
        return kPaper;
    }
    return kScissors;
}

// Sums of squared distances from a centre, out of the moments: sum (v - c)^2 is
// sum v^2 - 2c sum v + n c^2. The rows are summed modulo 2^64, like the row-by-row sums; the
// columns are summed exactly only for a centre on the picture, so any other centre is
// measured on the mask itself, as the row-by-row sums would wrap it.
bool spreadOfMoments(const HandMoments& m, int32_t centreX, int32_t centreY, HalfTotals& t) {
    if (centreX < 0 || centreX >= kFrameWidth) {
        return false;
    }
    const int64_t cx = centreX;
    const uint64_t cy = static_cast<uint64_t>(static_cast<int64_t>(centreY));
    const uint64_t n = static_cast<uint64_t>(m.count);
    t.count = m.count;
    t.sumX = m.sumXX - 2 * cx * m.sumX + m.count * cx * cx;
    const uint64_t sumY = static_cast<uint64_t>(m.sumY);
    t.sumY = static_cast<int64_t>(static_cast<uint64_t>(m.sumYY) - 2 * cy * sumY + n * cy * cy);
    return true;
}

}  // namespace

void CWebCam::CalGris(int slot) {
    for (int y = 0; y < kFrameHeight; ++y) {
        Pixel* row = images[slot].pixels[y];
        for (int x = 0; x < kFrameWidth; ++x) {
            const int grey = static_cast<int>(greyOf(row[x]));
            row[x].r = row[x].g = row[x].b = static_cast<uint8_t>(grey);
            row[x].couleur = grey * 0x010101;
        }
    }
}

Pixel CWebCam::CalMoyCouleur(int slot) {
    uint32_t sr = 0, sg = 0, sb = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = images[slot].pixels[y];
        for (int x = 0; x < kFrameWidth; ++x) {
            sr += row[x].r;
            sg += row[x].g;
            sb += row[x].b;
        }
    }
    return makePixel(static_cast<int>(sr / kFramePixels), static_cast<int>(sg / kFramePixels),
                     static_cast<int>(sb / kFramePixels));
}

// Grey, mean and threshold in two passes instead of three: the grey frame is never seen
// (the mask overwrites all of it), so the first pass sums the grey levels and keeps them
// aside, one byte a pixel, and the threshold pass reads those instead of the frame.
void CWebCam::CalBiCouleur(int slot) {
    Image& img = images[slot];
    const std::unique_ptr<uint8_t[]> greys(new uint8_t[kFramePixels]);
    const uint32_t total = fastest::greyTotal(img, greys.get());
    fastest::writeMask(img, greys.get(), static_cast<uint8_t>(total / kFramePixels));
    measuredValid[slot] = false;
}

// One read of the mask gives each half's centre and everything calculVariance needs.
void CWebCam::calculBarycentre(int slot) {
    const HandMoments& p2 = measured[slot][0] = fastest::handMoments(images[slot], 0);
    const HandMoments& p1 = measured[slot][1] = fastest::handMoments(images[slot], kHalfWidth);
    measuredValid[slot] = true;
    baryX1.store(quotient(p1.sumX, p1.count) - kHalfWidth, kRelaxed);
    baryY1.store(quotient(p1.sumY, p1.count), kRelaxed);
    baryX2.store(quotient(p2.sumX, p2.count), kRelaxed);
    baryY2.store(quotient(p2.sumY, p2.count), kRelaxed);
    handIn1.store(p1.count > 0, kRelaxed);
    handIn2.store(p2.count > 0, kRelaxed);
}

void CWebCam::calculVariance(int slot) {
    const int32_t centres[2][2] = {{baryX2.load(kRelaxed), baryY2.load(kRelaxed)},
                                   {baryX1.load(kRelaxed) + kHalfWidth, baryY1.load(kRelaxed)}};
    HalfTotals halves[2];
    for (int h = 0; h < 2; ++h) {
        const int32_t cx = centres[h][0];
        const int32_t cy = centres[h][1];
        if (!measuredValid[slot] || !spreadOfMoments(measured[slot][h], cx, cy, halves[h])) {
            halves[h] = plain::spreadSums(images[slot], h * kHalfWidth, cx, cy);
        }
    }
    const HalfTotals& p2 = halves[0];
    const HalfTotals& p1 = halves[1];
    if (p2.count > 0) {
        nbPixels2.store(static_cast<int32_t>(p2.count), kRelaxed);
    }
    if (p1.count > 0) {
        nbPixels1.store(static_cast<int32_t>(p1.count), kRelaxed);
    }
    varX1.store(quotient(p1.sumX, p1.count), kRelaxed);
    varY1.store(quotient(p1.sumY, p1.count), kRelaxed);
    varX2.store(quotient(p2.sumX, p2.count), kRelaxed);
    varY2.store(quotient(p2.sumY, p2.count), kRelaxed);
}

void CWebCam::discriminateRPS(int) {
    rps1.store(signOfSpread(varX1.load(kRelaxed), varY1.load(kRelaxed), nbPixels2.load(kRelaxed)),
               kRelaxed);
    rps2.store(signOfSpread(varX2.load(kRelaxed), varY2.load(kRelaxed), nbPixels1.load(kRelaxed)),
               kRelaxed);
}
