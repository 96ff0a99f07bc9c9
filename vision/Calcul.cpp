// Hand-sign recognition and the image operations of CWebCam.
//
// The recognition runs on every pass of the webcam worker, so its loops are kept to one
// tight pass over each row array, with per-row integer accumulators; every result is the
// same as a plain pixel-by-pixel evaluation of the rules.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "vision/PixelOps.h"
#include "vision/WebCam.h"

using namespace vision;

namespace {

constexpr int kHalf = kFrameWidth / 2;
constexpr auto kRelaxed = std::memory_order_relaxed;

unsigned greyOf(const Pixel& p) {
    return (p.r + p.g + p.b) / 3u;
}

// r + g + b is at most 765: kept in 16 bits, the vectoriser divides eight at a time. The
// sums are kept for the threshold pass, which then reads 2 bytes a pixel instead of 8.
uint32_t greySumOfRow(const Pixel* row, uint16_t* sums) {
    uint32_t total = 0;
    for (int x = 0; x < kFrameWidth; ++x) {
        const uint16_t s = static_cast<uint16_t>(row[x].r + row[x].g + row[x].b);
        sums[x] = s;
        total += static_cast<uint16_t>(s / 3);
    }
    return total;
}

// grey > T is r + g + b > 3T + 2 for the truncated grey, so no division is needed here.
// Whole-pixel stores of two constants measure faster than per-channel vector stores.
void maskRow(Pixel* row, const uint16_t* sums, uint16_t limit) {
    const Pixel hand = makePixel(255, 255, 255);
    const Pixel background = makePixel(0, 0, 0);
    for (int x = 0; x < kFrameWidth; ++x) {
        row[x] = sums[x] > limit ? hand : background;
    }
}

// Applies f to every pixel of a slot, rows then columns in increasing order.
template <typename F>
void forEachPixel(Image& img, F f) {
    for (int y = 0; y < kFrameHeight; ++y) {
        Pixel* row = img.pixels[y];
        for (int x = 0; x < kFrameWidth; ++x) {
            f(row[x]);
        }
    }
}

// Same walk over two source slots and a target, which may be one of the sources.
template <typename F>
void forEachPixelPair(Image& a, Image& b, Image& target, F f) {
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const Pixel pa = a.pixels[y][x];
            const Pixel pb = b.pixels[y][x];
            target.pixels[y][x] = f(pa, pb);
        }
    }
}

// Hand-pixel count and column sum over one half of one row.
struct HalfRow {
    uint32_t count = 0;
    uint32_t sum = 0;
};

// Hand-pixel count and the sum of `weights` (indexed by column) over the hand pixels of one
// half row.
HalfRow weighHalfRow(const Pixel* row, int first, const uint32_t* weights) {
    HalfRow h;
    for (int x = first; x < first + kHalf; ++x) {
        const uint32_t hand = row[x].r == 255;
        h.count += hand;
        h.sum += weights[x] & (0u - hand);
    }
    return h;
}

struct HalfTotals {
    int64_t count = 0;
    int64_t sumX = 0;
    int64_t sumY = 0;
};

HalfTotals centreSums(const Image& img, int first) {
    uint32_t columns[kFrameWidth];
    for (int x = first; x < first + kHalf; ++x) {
        columns[x] = static_cast<uint32_t>(x);
    }
    HalfTotals t;
    for (int y = 0; y < kFrameHeight; ++y) {
        const HalfRow h = weighHalfRow(img.pixels[y], first, columns);
        t.count += h.count;
        t.sumX += h.sum;
        t.sumY += static_cast<int64_t>(h.count) * y;
    }
    return t;
}

// Unsigned arithmetic: identical to the signed sums for every centre the recognition
// produces, and free of overflow traps for a centre set from outside.
HalfTotals spreadSums(const Image& img, int first, int32_t centreX, int32_t centreY) {
    uint32_t squares[kFrameWidth];
    for (int x = first; x < first + kHalf; ++x) {
        const uint32_t d = static_cast<uint32_t>(x) - static_cast<uint32_t>(centreX);
        squares[x] = d * d;
    }
    HalfTotals t;
    for (int y = 0; y < kFrameHeight; ++y) {
        const HalfRow h = weighHalfRow(img.pixels[y], first, squares);
        const int64_t dy = static_cast<int64_t>(y) - centreY;
        t.count += h.count;
        t.sumX += h.sum;
        t.sumY += static_cast<int64_t>(h.count) * (dy * dy);
    }
    return t;
}

int32_t quotient(int64_t sum, int64_t count) {
    return count > 0 ? static_cast<int32_t>(sum / count) : 0;
}

// The sign rules; n is the other half's hand count. The constants are single precision,
// the comparisons double, as the thresholds were tuned that way.
int32_t signOfSpread(int32_t varX, int32_t varY, int32_t n) {
    const double vx = varX;
    const double vy = varY;
    if (static_cast<double>(1.8f) * vx > vy) {
        return 1;
    }
    if (vy > static_cast<double>(2.95f) * vx) {
        return 2;
    }
    if (vx / static_cast<double>(n) > static_cast<double>(0.4f)) {
        return 2;
    }
    return 3;
}

// Mean of the non-zero values of one channel (0 when there are none).
template <typename Channel>
int meanOfNonZero(const Pixel* pixels, int count, Channel channel) {
    int sum = 0;
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const int v = channel(pixels[i]);
        sum += v;
        n += v != 0;
    }
    return n > 0 ? sum / n : 0;
}

int nearestLevel(CWebCam& cam, int v, const int* centres, int levels) {
    int distances[5];
    for (int k = 0; k < levels; ++k) {
        distances[k] = std::abs(v - centres[k]);
    }
    return cam.min_tbl(distances, levels);
}

enum class HslPart { Hue, Sat, Lum };

void fixHsl(CWebCam& cam, int slot, HslPart part, int value) {
    const uint8_t v = static_cast<uint8_t>(value);
    forEachPixel(cam.images[slot], [&](Pixel& p) {
        PixelHSL h = cam.CalRGBtoHSL(p);
        if (part == HslPart::Hue) {
            h.hue = v;
        } else if (part == HslPart::Sat) {
            h.sat = v;
        } else {
            h.lum = v;
        }
        p = cam.CalHSLtoRGB(h);
    });
}

bool stepAcross(const Pixel& p, const Pixel& q, int seuil, bool anyChannel) {
    if (std::abs(p.r - q.r) > seuil) {
        return true;
    }
    return anyChannel && (std::abs(p.g - q.g) > seuil || std::abs(p.b - q.b) > seuil);
}

// Marks the lower or right pixel of every strong step, measured on the picture as it was
// before any marking, then whitens the marked pixels.
void markEdges(Image& img, int seuil, bool anyChannel) {
    std::vector<uint8_t> marks(static_cast<size_t>(kFramePixels), 0);
    for (int y = 1; y < kFrameHeight; ++y) {
        for (int x = 1; x < kFrameWidth - 1; ++x) {
            if (stepAcross(img.pixels[y - 1][x], img.pixels[y][x], seuil, anyChannel)) {
                marks[static_cast<size_t>(y * kFrameWidth + x)] = 1;
            }
        }
    }
    for (int y = 1; y < kFrameHeight - 1; ++y) {
        for (int x = 1; x < kFrameWidth; ++x) {
            if (stepAcross(img.pixels[y][x - 1], img.pixels[y][x], seuil, anyChannel)) {
                marks[static_cast<size_t>(y * kFrameWidth + x)] = 1;
            }
        }
    }
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if (marks[static_cast<size_t>(y * kFrameWidth + x)] != 0) {
                setGrey(img.pixels[y][x], 255);
            }
        }
    }
}

void swapPixels(Pixel& a, Pixel& b) {
    const Pixel t = a;
    a = b;
    b = t;
}

}  // namespace

// ---- Recognition ----------------------------------------------------------------------

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
// (the mask overwrites all of it), so the first pass only sums the grey levels and keeps
// each pixel's channel sum, and the threshold pass works from those sums.
void CWebCam::CalBiCouleur(int slot) {
    Image& img = images[slot];
    const std::unique_ptr<uint16_t[]> sums(new uint16_t[kFramePixels]);
    uint32_t total = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        total += greySumOfRow(img.pixels[y], sums.get() + y * kFrameWidth);
    }
    const unsigned threshold = total / kFramePixels;
    const uint16_t limit = static_cast<uint16_t>(3 * threshold + 2);
    for (int y = 0; y < kFrameHeight; ++y) {
        maskRow(img.pixels[y], sums.get() + y * kFrameWidth, limit);
    }
}

void CWebCam::calculBarycentre(int slot) {
    const HalfTotals p2 = centreSums(images[slot], 0);
    const HalfTotals p1 = centreSums(images[slot], kHalf);
    const int32_t cx1 = quotient(p1.sumX, p1.count);
    baryX1.store(cx1 - kHalf, kRelaxed);
    baryY1.store(quotient(p1.sumY, p1.count), kRelaxed);
    baryX2.store(quotient(p2.sumX, p2.count), kRelaxed);
    baryY2.store(quotient(p2.sumY, p2.count), kRelaxed);
}

void CWebCam::calculVariance(int slot) {
    const int32_t cx1 = baryX1.load(kRelaxed) + kHalf;
    const int32_t cy1 = baryY1.load(kRelaxed);
    const HalfTotals p2 =
        spreadSums(images[slot], 0, baryX2.load(kRelaxed), baryY2.load(kRelaxed));
    const HalfTotals p1 = spreadSums(images[slot], kHalf, cx1, cy1);
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

// ---- Point operations -----------------------------------------------------------------

void CWebCam::CalRGB(int slot) {
    forEachPixel(images[slot], [](Pixel& p) { setFromColour(p, p.couleur); });
}

void CWebCam::CalCouleur(int slot) {
    forEachPixel(images[slot], [](Pixel& p) { p.couleur = pack(p.r, p.g, p.b); });
}

void CWebCam::CalInvCouleur(int slot) {
    forEachPixel(images[slot], [](Pixel& p) { setRGB(p, 255 - p.r, 255 - p.g, 255 - p.b); });
}

void CWebCam::CalAddCouleur(int slot, int dr, int dg, int db, bool modulo) {
    // Sums are unsigned on purpose: a negative step below 0 wraps to a huge value.
    auto add = [modulo](uint8_t v, int d) {
        const uint32_t s = v + static_cast<uint32_t>(d);
        if (modulo) {
            return static_cast<int>(s % 255u);
        }
        return s > 255u ? 255 : static_cast<int>(s);
    };
    forEachPixel(images[slot], [&](Pixel& p) { setRGB(p, add(p.r, dr), add(p.g, dg), add(p.b, db)); });
}

void CWebCam::CalBiCouleurSeuil(int slot) {
    const Pixel m = CalSeuilCouleur(slot);
    const unsigned threshold = (m.r + m.g + m.b) / 3u;
    forEachPixel(images[slot], [threshold](Pixel& p) { setGrey(p, greyOf(p) > threshold ? 255 : 0); });
}

void CWebCam::CalExpole16to16(int slot) {
    static const int centres[3] = {0, 128, 255};
    auto level = [this](uint8_t v) { return 127 * nearestLevel(*this, v, centres, 3); };
    forEachPixel(images[slot], [&](Pixel& p) { setRGB(p, level(p.r), level(p.g), level(p.b)); });
}

// Each level stores the value it is nearest to, so the picture keeps its brightness.
void CWebCam::CalExpole16to256(int slot) {
    static const int centres[5] = {0, 64, 128, 192, 255};
    auto level = [this](uint8_t v) { return centres[nearestLevel(*this, v, centres, 5)]; };
    forEachPixel(images[slot], [&](Pixel& p) { setRGB(p, level(p.r), level(p.g), level(p.b)); });
}

void CWebCam::CalIntensiteHSL(int slot, bool useHue, bool useSat, bool useLum) {
    const int parts = useHue + useSat + useLum;
    if (parts == 0) {
        return;  // nothing to average: leave the picture as it is rather than divide by 0
    }
    forEachPixel(images[slot], [&](Pixel& p) {
        const PixelHSL h = CalRGBtoHSL(p);
        const int grey = (useHue * h.hue + useSat * h.sat + useLum * h.lum) / parts;
        setGrey(p, grey);
    });
}

void CWebCam::CalFixLumiere(int slot, int lum) {
    fixHsl(*this, slot, HslPart::Lum, lum);
}

void CWebCam::CalFixTeinte(int slot, int hue) {
    fixHsl(*this, slot, HslPart::Hue, hue);
}

void CWebCam::CalFixSaturation(int slot, int sat) {
    fixHsl(*this, slot, HslPart::Sat, sat);
}

// ---- Statistics -----------------------------------------------------------------------

Pixel CWebCam::CalSeuilCouleur(int slot) {
    std::vector<uint32_t> histogram(3 * 256, 0);
    forEachPixel(images[slot], [&](Pixel& p) {
        ++histogram[p.r];
        ++histogram[256 + p.g];
        ++histogram[512 + p.b];
    });
    uint32_t sums[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        for (uint32_t v = 0; v < 256; ++v) {
            sums[c] += v * histogram[static_cast<size_t>(c * 256) + v];
        }
    }
    return makePixel(static_cast<int>(sums[0] / kFramePixels), static_cast<int>(sums[1] / kFramePixels),
                     static_cast<int>(sums[2] / kFramePixels));
}

// ---- Two frames -----------------------------------------------------------------------

// A channel of b above that of a gives 0: the difference saturates rather than wrapping
// to a bright value where the second frame is the brighter one.
void CWebCam::CalSoustraction(int a, int b, int target) {
    auto minus = [](uint8_t x, uint8_t y) { return x > y ? x - y : 0; };
    forEachPixelPair(images[a], images[b], images[target], [&](const Pixel& pa, const Pixel& pb) {
        return makePixel(minus(pa.r, pb.r), minus(pa.g, pb.g), minus(pa.b, pb.b));
    });
}

bool CWebCam::CalRessemblance(Pixel p, Pixel q, char seuil) {
    auto ratio = [](uint8_t x, uint8_t y) {
        if (x == 0 && y == 0) {
            return 1.0f;
        }
        return x < y ? static_cast<float>(x) / static_cast<float>(y)
                     : static_cast<float>(y) / static_cast<float>(x);
    };
    float sum = ratio(p.b, q.b);
    sum += ratio(p.g, q.g);
    sum += ratio(p.r, q.r);
    const float scaled = sum * 100.0f;
    const int score = static_cast<int>(scaled / 3.0f);
    return score <= static_cast<signed char>(seuil);
}

void CWebCam::CalMouvement(int a, int b, int target) {
    forEachPixelPair(images[a], images[b], images[target], [this](const Pixel& pa, const Pixel& pb) {
        if (!CalRessemblance(pa, pb, 70)) {
            return makePixel(0, 0, 0);
        }
        return makePixel((pa.r + pb.r) / 2, (pa.g + pb.g) / 2, (pa.b + pb.b) / 2);
    });
}

// ---- Neighbourhoods -------------------------------------------------------------------

void CWebCam::CalMirroir(int slot, bool horizontal, bool vertical) {
    Image& img = images[slot];
    if (horizontal) {
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kHalf; ++x) {
                swapPixels(img.pixels[y][x], img.pixels[y][kFrameWidth - 1 - x]);
            }
        }
    }
    if (vertical) {
        for (int y = 0; y < kFrameHeight / 2; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) {
                swapPixels(img.pixels[y][x], img.pixels[kFrameHeight - 1 - y][x]);
            }
        }
    }
}

// In place on purpose: the neighbours above and to the left are already blurred when a
// pixel is computed, which smears bright detail down and to the left.
void CWebCam::CalFlou(int slot) {
    Image& img = images[slot];
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            Pixel places[9] = {};
            for (int k = 0; k < 9; ++k) {
                const int ny = y + k / 3 - 1;
                const int nx = x + k % 3 - 1;
                if (ny >= 0 && ny < kFrameHeight && nx >= 0 && nx < kFrameWidth) {
                    places[k] = img.pixels[ny][nx];
                }
            }
            img.pixels[y][x] = moyenne(places, 9);
        }
    }
}

void CWebCam::CalContourGris(int slot, int seuil) {
    CalGris(slot);
    markEdges(images[slot], seuil, false);
}

void CWebCam::CalContour(int slot, int seuil) {
    markEdges(images[slot], seuil, true);
}

// ---- Support --------------------------------------------------------------------------

int CWebCam::min_tbl(int* values, int count) {
    int best = 0;
    for (int i = 1; i < count; ++i) {
        if (values[i] < values[best]) {
            best = i;
        }
    }
    return best;
}

int CWebCam::max_tbl(int* values, int count) {
    int best = 0;
    for (int i = 1; i < count; ++i) {
        if (values[i] > values[best]) {
            best = i;
        }
    }
    return best;
}

Pixel CWebCam::moyenne(Pixel* pixels, int count) {
    return makePixel(meanOfNonZero(pixels, count, [](const Pixel& p) { return p.r; }),
                     meanOfNonZero(pixels, count, [](const Pixel& p) { return p.g; }),
                     meanOfNonZero(pixels, count, [](const Pixel& p) { return p.b; }));
}

PixelHSL CWebCam::CalRGBtoHSL(Pixel p) {
    const int r = p.r, g = p.g, b = p.b;
    const int mx = std::max(r, std::max(g, b));
    const int mn = std::min(r, std::min(g, b));
    PixelHSL h{};
    h.lum = static_cast<uint8_t>(((mx + mn) * 240 + 255) / 510);
    if (mx == mn) {
        h.sat = 0;
        h.hue = 120;
        return h;
    }
    const int range = mx - mn;
    if (h.lum <= 120) {
        h.sat = static_cast<uint8_t>((range * 240 + (mx + mn) / 2) / (mx + mn));
    } else {
        const int rest = 510 - mx - mn;
        h.sat = static_cast<uint8_t>((range * 240 + rest / 2) / rest);
    }
    const int dr = ((mx - r) * 40 + range / 2) / range;
    const int dg = ((mx - g) * 40 + range / 2) / range;
    const int db = ((mx - b) * 40 + range / 2) / range;
    int hue;
    if (r == mx) {
        hue = db - dg;
    } else if (g == mx) {
        hue = 80 + dr - db;
    } else {
        hue = 160 + dg - dr;
    }
    if (hue < 0) {
        hue += 240;
    }
    h.hue = static_cast<uint8_t>(hue);
    return h;
}

Pixel CWebCam::CalHSLtoRGB(PixelHSL h) {
    const int lum = h.lum, sat = h.sat;
    if (sat == 0) {
        const int v = lum * 255 / 240;
        return makePixel(v, v, v);
    }
    const int m2 = lum <= 120 ? (lum * (240 + sat) + 120) / 240 : lum + sat - (lum * sat + 120) / 240;
    const int m1 = 2 * lum - m2;
    auto channel = [&](int hue) {
        const int v = HueToRGB(static_cast<int16_t>(m1), static_cast<int16_t>(m2), static_cast<int16_t>(hue));
        return (v * 255 + 120) / 240;
    };
    return makePixel(channel(h.hue + 80), channel(h.hue), channel(h.hue - 80));
}

int16_t CWebCam::HueToRGB(int16_t m1, int16_t m2, int16_t hue) {
    int h = hue;
    if (h < 0) {
        h += 240;
    }
    if (h > 240) {
        h %= 240;
    }
    int v;
    if (h < 40) {
        v = m1 + ((m2 - m1) * h + 20) / 40;
    } else if (h < 120) {
        v = m2;
    } else if (h < 160) {
        v = m1 + ((m2 - m1) * (160 - h) + 20) / 40;
    } else {
        v = m1;
    }
    return static_cast<int16_t>(v);
}
