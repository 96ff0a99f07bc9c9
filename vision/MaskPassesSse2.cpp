// The recognition's passes with SSE2, which every x86-64 processor has. A 16-byte load holds
// two pixels (r, g, b, padding, then couleur); the passes gather what they need from four
// loads at a time so that eight pixels share each arithmetic instruction.
#include "vision/MaskPasses.h"

#if defined(__SSE2__)

#include <emmintrin.h>

namespace vision::sse2 {

namespace {

// The helpers are a few instructions each and sit in the inner loops: GCC's -O2 would call
// some of them and keep their registers in memory.
#define VISION_INLINE inline __attribute__((always_inline))

VISION_INLINE __m128i load(const Pixel* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Words 0 and 2 of each load are the r, g, b, padding words of its two pixels: these
// gather the words of four pixels into one register, in pixel order.
VISION_INLINE __m128i pickFirstWords(__m128i a, __m128i b) {
    return _mm_castps_si128(
        _mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
}

// r + g + b of one load's two pixels, in its words 0 and 2.
VISION_INLINE __m128i pairSums(const Pixel* p) {
    return _mm_sad_epu8(_mm_and_si128(load(p), _mm_set1_epi64x(0xFFFFFF)), _mm_setzero_si128());
}

// r + g + b of pixels p[0..7], as eight 16-bit lanes.
VISION_INLINE __m128i channelSums(const Pixel* p) {
    const __m128i low = pickFirstWords(pairSums(p), pairSums(p + 2));
    return _mm_packs_epi32(low, pickFirstWords(pairSums(p + 4), pairSums(p + 6)));
}

// sum / 3 for sums up to 765: sum * 43691 >> 17.
VISION_INLINE __m128i thirds(__m128i sums) {
    return _mm_srli_epi16(_mm_mulhi_epu16(sums, _mm_set1_epi16(static_cast<int16_t>(43691))), 1);
}

// r of pixels p[0..7] in eight 16-bit lanes.
VISION_INLINE __m128i reds(const Pixel* p) {
    const __m128i red = _mm_set1_epi32(0xFF);
    const __m128i low = pickFirstWords(load(p), load(p + 2));
    const __m128i high = pickFirstWords(load(p + 4), load(p + 6));
    return _mm_packs_epi32(_mm_and_si128(low, red), _mm_and_si128(high, red));
}

// 0xFF in the byte of every hand pixel (r 255) among p[0..15], 0 elsewhere.
VISION_INLINE __m128i handBytes(const Pixel* p) {
    return _mm_cmpeq_epi8(_mm_packus_epi16(reds(p), reds(p + 8)), _mm_set1_epi8(-1));
}

VISION_INLINE void storeMaskWords(Pixel* p, __m128i words) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_unpacklo_epi32(words, words));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 2), _mm_unpackhi_epi32(words, words));
}

// Stores eight mask pixels from eight 16-bit lanes of -1 (hand) or 0: a hand pixel's two
// words are both 0x00FFFFFF (r, g, b 255, padding 0, and couleur white).
VISION_INLINE void storeMask(Pixel* p, __m128i lanes) {
    const __m128i high = _mm_and_si128(lanes, _mm_set1_epi16(0xFF));
    storeMaskWords(p, _mm_unpacklo_epi16(lanes, high));
    storeMaskWords(p + 4, _mm_unpackhi_epi16(lanes, high));
}

constexpr int kLanes = 8;

#undef VISION_INLINE

}  // namespace

uint32_t greyTotal(const Image& img, uint8_t* greys) {
    __m128i total = _mm_setzero_si128();
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = img.pixels[y];
        uint8_t* out = greys + y * kFrameWidth;
        for (int x = 0; x < kFrameWidth; x += 2 * kLanes) {
            const __m128i g = _mm_packus_epi16(thirds(channelSums(row + x)),
                                               thirds(channelSums(row + x + kLanes)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), g);
            total = _mm_add_epi64(total, _mm_sad_epu8(g, _mm_setzero_si128()));
        }
    }
    return static_cast<uint32_t>(_mm_cvtsi128_si32(total) +
                                 _mm_cvtsi128_si32(_mm_unpackhi_epi64(total, total)));
}

// Unsigned grey > threshold as a signed byte comparison with both sides shifted by 128.
void writeMask(Image& img, const uint8_t* greys, uint8_t threshold) {
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i limit = _mm_set1_epi8(static_cast<char>(threshold ^ 0x80));
    for (int y = 0; y < kFrameHeight; ++y) {
        Pixel* row = img.pixels[y];
        const uint8_t* in = greys + y * kFrameWidth;
        for (int x = 0; x < kFrameWidth; x += 2 * kLanes) {
            const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
            const __m128i hand = _mm_cmpgt_epi8(_mm_xor_si128(g, flip), limit);
            storeMask(row + x, _mm_unpacklo_epi8(hand, hand));
            storeMask(row + x + kLanes, _mm_unpackhi_epi8(hand, hand));
        }
    }
}

// Hand pixels are counted per column (byte counts: at most 240 a column) and per row; the
// column sums and their squares come from the column counts at the end, which keeps the
// inner loop to the hand test and two subtractions.
HandMoments handMoments(const Image& img, int first) {
    constexpr int kChunks = kHalfWidth / (2 * kLanes);
    __m128i columnCounts[kChunks];
    for (__m128i& c : columnCounts) {
        c = _mm_setzero_si128();
    }
    HandMoments m{};
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = img.pixels[y] + first;
        __m128i rowCounts = _mm_setzero_si128();
        for (int k = 0; k < kChunks; ++k) {
            const __m128i hand = handBytes(row + k * 2 * kLanes);
            rowCounts = _mm_sub_epi8(rowCounts, hand);
            columnCounts[k] = _mm_sub_epi8(columnCounts[k], hand);
        }
        const __m128i sums = _mm_sad_epu8(rowCounts, _mm_setzero_si128());
        addRow(m, static_cast<uint32_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4)), y);
    }
    alignas(16) uint8_t counts[kHalfWidth];
    for (int k = 0; k < kChunks; ++k) {
        _mm_store_si128(reinterpret_cast<__m128i*>(counts + k * 2 * kLanes), columnCounts[k]);
    }
    for (int i = 0; i < kHalfWidth; ++i) {
        const int64_t x = first + i;
        m.sumX += counts[i] * x;
        m.sumXX += counts[i] * x * x;
    }
    return m;
}

}  // namespace vision::sse2

#endif
