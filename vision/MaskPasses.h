// The whole-frame passes behind the recognition. Each comes in a plain build, for every
// processor, and an SSE2 build, for x86-64 (where SSE2 is always there); both give the same
// results bit for bit, and the recognition uses the fastest one the compiler can offer.
//
// greyTotal: the sum of the grey levels of the frame; each pixel's grey level goes into greys
//   (kFramePixels bytes, row after row).
// writeMask: pixels whose grey level is above threshold become hand pixels, the rest black.
// handMoments: the moments of the hand pixels of the half whose first column is first.
// spreadSums (plain only): over that half, the hand pixels and the sums of their squared
//   distances from the given centre, column and row apart, read from the mask itself.
#pragma once

#include <cstdint>

#include "vision/WebCam.h"

namespace vision {

struct HalfTotals {
    int64_t count = 0;
    int64_t sumX = 0;
    int64_t sumY = 0;
};

// One row's share of the vertical spread. Unsigned, so that a centre set from outside far off
// the picture wraps instead of overflowing; for centres on the picture it is the exact value.
inline int64_t rowSpread(uint32_t count, int y, int32_t centreY) {
    const uint64_t dy =
        static_cast<uint64_t>(y) - static_cast<uint64_t>(static_cast<int64_t>(centreY));
    return static_cast<int64_t>(count * (dy * dy));
}

// Adds one row's hand pixels to the row moments.
inline void addRow(HandMoments& m, uint32_t count, int y) {
    m.count += count;
    m.sumY += static_cast<int64_t>(count) * y;
    m.sumYY += static_cast<int64_t>(count) * y * y;
}

namespace plain {
uint32_t greyTotal(const Image& img, uint8_t* greys);
void writeMask(Image& img, const uint8_t* greys, uint8_t threshold);
HandMoments handMoments(const Image& img, int first);
HalfTotals spreadSums(const Image& img, int first, int32_t centreX, int32_t centreY);
}  // namespace plain

#if defined(__SSE2__)
namespace sse2 {
uint32_t greyTotal(const Image& img, uint8_t* greys);
void writeMask(Image& img, const uint8_t* greys, uint8_t threshold);
HandMoments handMoments(const Image& img, int first);
}  // namespace sse2
namespace fastest = sse2;
#else
namespace fastest = plain;
#endif

}  // namespace vision
