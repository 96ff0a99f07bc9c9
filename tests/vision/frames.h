// Helpers that paint known frames into a CWebCam's store.
#pragma once

#include <cstdint>
#include <random>

#include "vision/WebCam.h"

namespace testframes {

inline Pixel rgb(int r, int g, int b) {
    Pixel p{};
    p.r = static_cast<uint8_t>(r);
    p.g = static_cast<uint8_t>(g);
    p.b = static_cast<uint8_t>(b);
    p.couleur = r + 256 * g + 65536 * b;
    return p;
}

inline void fill(CWebCam& cam, int slot, Pixel p) {
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            cam.images[slot].pixels[y][x] = p;
        }
    }
}

// Frame columns x0..x1-1, rows y0..y1-1.
inline void rect(CWebCam& cam, int slot, int x0, int y0, int x1, int y1, Pixel p) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            cam.images[slot].pixels[y][x] = p;
        }
    }
}

inline void randomFrame(CWebCam& cam, int slot, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            cam.images[slot].pixels[y][x] = rgb(byte(rng), byte(rng), byte(rng));
        }
    }
}

inline bool samePixel(const Pixel& a, const Pixel& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.couleur == b.couleur;
}

inline bool sameFrame(CWebCam& a, int slotA, CWebCam& b, int slotB) {
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if (!samePixel(a.images[slotA].pixels[y][x], b.images[slotB].pixels[y][x])) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace testframes
