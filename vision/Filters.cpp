// The image operations of CWebCam that the running game does not use: colour point
// operations, frame statistics, two-frame comparisons and neighbourhood operations.
#include <cstdlib>
#include <vector>

#include "vision/PixelOps.h"
#include "vision/WebCam.h"

using namespace vision;

namespace {

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
    forEachPixel(images[slot],
                 [&](Pixel& p) { setRGB(p, add(p.r, dr), add(p.g, dg), add(p.b, db)); });
}

void CWebCam::CalBiCouleurSeuil(int slot) {
    const Pixel m = CalSeuilCouleur(slot);
    const unsigned threshold = (m.r + m.g + m.b) / 3u;
    forEachPixel(images[slot],
                 [threshold](Pixel& p) { setGrey(p, greyOf(p) > threshold ? 255 : 0); });
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

void CWebCam::CalFixLumiere(int slot, int lum) { fixHsl(*this, slot, HslPart::Lum, lum); }

void CWebCam::CalFixTeinte(int slot, int hue) { fixHsl(*this, slot, HslPart::Hue, hue); }

void CWebCam::CalFixSaturation(int slot, int sat) { fixHsl(*this, slot, HslPart::Sat, sat); }

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
    return makePixel(static_cast<int>(sums[0] / kFramePixels),
                     static_cast<int>(sums[1] / kFramePixels),
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
    forEachPixelPair(images[a], images[b], images[target],
                     [this](const Pixel& pa, const Pixel& pb) {
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
            for (int x = 0; x < kHalfWidth; ++x) {
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

void CWebCam::CalContour(int slot, int seuil) { markEdges(images[slot], seuil, true); }
