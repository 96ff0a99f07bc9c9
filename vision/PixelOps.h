// Pixel helpers shared by the capture and the image operations of CWebCam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "vision/WebCam.h"

namespace vision {

constexpr int32_t kWhite = 0xFFFFFF;

// Channels 0..255 packed as the platform's 0x00BBGGRR colour value.
inline int32_t pack(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// Stores the low 8 bits of each channel and keeps couleur in step with them.
inline void setRGB(Pixel& p, int r, int g, int b) {
    p.r = static_cast<uint8_t>(r);
    p.g = static_cast<uint8_t>(g);
    p.b = static_cast<uint8_t>(b);
    p.couleur = pack(p.r, p.g, p.b);
}

inline Pixel makePixel(int r, int g, int b) {
    Pixel p{};
    setRGB(p, r, g, b);
    return p;
}

// Splits a packed colour the way the platform's values are read back: an invalid colour
// (all bits set) comes out as couleur -1 with r 255, g 0, b 0.
inline void setFromColour(Pixel& p, int32_t c) {
    const int32_t b = c / 65536;
    const int32_t g = (c - 65536 * b) / 256;
    p.couleur = c;
    p.b = static_cast<uint8_t>(b);
    p.g = static_cast<uint8_t>(g);
    p.r = static_cast<uint8_t>(c);
}

static_assert(sizeof(Pixel) == 8 && offsetof(Pixel, couleur) == 4,
              "Pixel is r, g, b, padding, couleur");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel words are read little-endian");

// The whole pixel in one 8-byte store, for a colour 0..0xFFFFFF: its first word (r, g, b and
// a zero padding byte) equals couleur, so the pixel is couleur twice.
inline void storeColour(Pixel& p, uint32_t c) {
    const uint64_t both = c | static_cast<uint64_t>(c) << 32;
    std::memcpy(&p, &both, sizeof both);
}

// 32-bit DIB words are blue, green, red, unused; colour values are red, green, blue.
inline uint32_t colourOfDibWord(uint32_t w) {
    return (w & 0xFF) << 16 | (w & 0xFF00) | ((w >> 16) & 0xFF);
}

// The truncated mean of the three channels.
inline unsigned greyOf(const Pixel& p) { return (p.r + p.g + p.b) / 3u; }

inline void setGrey(Pixel& p, int grey) { setRGB(p, grey, grey, grey); }

}  // namespace vision
