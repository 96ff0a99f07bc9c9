// The recognition's passes in plain C++, for processors without SSE2 and as the reference
// the SSE2 build is tested against. The loops keep to one array each, with per-row integer
// accumulators, so that the compiler can vectorise them.
#include "vision/MaskPasses.h"

#include "vision/PixelOps.h"

namespace vision::plain {

namespace {

// Hand-pixel count and column sum over one half of one row.
struct HalfRow {
    uint32_t count = 0;
    uint32_t sum = 0;
};

// Hand-pixel count and the sum of `weights` (indexed by column) over the hand pixels of one
// half row.
HalfRow weighHalfRow(const Pixel* row, int first, const uint32_t* weights) {
    HalfRow h;
    for (int x = first; x < first + kHalfWidth; ++x) {
        const uint32_t hand = row[x].r == 255;
        h.count += hand;
        h.sum += weights[x] & (0u - hand);
    }
    return h;
}

}  // namespace

// r + g + b is at most 765: kept in 16 bits, the vectoriser divides eight at a time.
uint32_t greyTotal(const Image& img, uint8_t* greys) {
    uint32_t total = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = img.pixels[y];
        uint8_t* out = greys + y * kFrameWidth;
        for (int x = 0; x < kFrameWidth; ++x) {
            const uint16_t sum = static_cast<uint16_t>(row[x].r + row[x].g + row[x].b);
            out[x] = static_cast<uint8_t>(sum / 3);
            total += out[x];
        }
    }
    return total;
}

// Whole-pixel stores of two constants measure faster than per-channel vector stores.
void writeMask(Image& img, const uint8_t* greys, uint8_t threshold) {
    const Pixel hand = makePixel(255, 255, 255);
    const Pixel background = makePixel(0, 0, 0);
    for (int y = 0; y < kFrameHeight; ++y) {
        Pixel* row = img.pixels[y];
        const uint8_t* in = greys + y * kFrameWidth;
        for (int x = 0; x < kFrameWidth; ++x) {
            row[x] = in[x] > threshold ? hand : background;
        }
    }
}

HandMoments handMoments(const Image& img, int first) {
    uint32_t columns[kFrameWidth];
    uint32_t squares[kFrameWidth];
    for (int x = first; x < first + kHalfWidth; ++x) {
        columns[x] = static_cast<uint32_t>(x);
        squares[x] = static_cast<uint32_t>(x * x);
    }
    HandMoments m{};
    for (int y = 0; y < kFrameHeight; ++y) {
        const HalfRow h = weighHalfRow(img.pixels[y], first, columns);
        m.sumX += h.sum;
        m.sumXX += weighHalfRow(img.pixels[y], first, squares).sum;
        addRow(m, h.count, y);
    }
    return m;
}

// Unsigned arithmetic: identical to the signed sums for every centre the recognition
// produces, and free of overflow traps for a centre set from outside.
HalfTotals spreadSums(const Image& img, int first, int32_t centreX, int32_t centreY) {
    uint32_t squares[kFrameWidth];
    for (int x = first; x < first + kHalfWidth; ++x) {
        const uint32_t d = static_cast<uint32_t>(x) - static_cast<uint32_t>(centreX);
        squares[x] = d * d;
    }
    HalfTotals t;
    for (int y = 0; y < kFrameHeight; ++y) {
        const HalfRow h = weighHalfRow(img.pixels[y], first, squares);
        t.count += h.count;
        t.sumX += h.sum;
        t.sumY += rowSpread(h.count, y, centreY);
    }
    return t;
}

}  // namespace vision::plain
