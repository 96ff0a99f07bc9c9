// The support operations of CWebCam's image library: table minimum and maximum, the mean
// of a neighbourhood, and the conversions between RGB and hue, saturation and lightness.
#include <algorithm>

#include "vision/PixelOps.h"
#include "vision/WebCam.h"

using namespace vision;

namespace {

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

}  // namespace

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
    const int m2 =
        lum <= 120 ? (lum * (240 + sat) + 120) / 240 : lum + sat - (lum * sat + 120) / 240;
    const int m1 = 2 * lum - m2;
    auto channel = [&](int hue) {
        const int v =
            HueToRGB(static_cast<int16_t>(m1), static_cast<int16_t>(m2), static_cast<int16_t>(hue));
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
