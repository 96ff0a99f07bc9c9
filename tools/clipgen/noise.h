// Deterministic noise for the clip makers: a well-mixed hash of a sample's place and time, so
// that the same clip comes out every time and any frame can be drawn again alone.
#pragma once

#include <cstdint>

namespace clipgen {

inline uint32_t mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

// 32 random bits for sample `sample` (a pixel, or a pixel's channel) of frame `frame`.
inline uint32_t noiseAt(unsigned seed, long frame, uint32_t sample) {
    return mix(seed * 0x9e3779b9U ^ mix(static_cast<uint32_t>(frame) * 0x85ebca6bU ^ sample));
}

}  // namespace clipgen
