#include "platform/capture/camera_frame.h"

#include <algorithm>

namespace camera {

void RgbFrame::resize(int w, int h) {
    width = w;
    height = h;
    rgb.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 3, 0);
}

int chromaWidth(int width, bool halfChroma) { return halfChroma ? (width + 1) / 2 : width; }
int chromaHeight(int height, bool halfChroma) { return halfChroma ? (height + 1) / 2 : height; }

namespace {

uint8_t clampByte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// Coefficients scaled by 2^16. Studio range stretches luma 16..235 and chroma 16..240 to
// full scale; full range takes the planes as they are (JPEG / JFIF convention).
struct Coefficients {
    int yScale, yOffset, rv, gu, gv, bu;
};
constexpr Coefficients kStudio{76309, 16, 104597, 25675, 53279, 132201};
constexpr Coefficients kFull{65536, 0, 91881, 22554, 46802, 116130};

}  // namespace

void yuvToRgb(int y, int u, int v, bool fullRange, uint8_t rgb[3]) {
    const Coefficients& c = fullRange ? kFull : kStudio;
    const int luma = (y - c.yOffset) * c.yScale + 32768;
    const int cb = u - 128;
    const int cr = v - 128;
    rgb[0] = clampByte((luma + c.rv * cr) >> 16);
    rgb[1] = clampByte((luma - c.gu * cb - c.gv * cr) >> 16);
    rgb[2] = clampByte((luma + c.bu * cb) >> 16);
}

void convertYuv(const YuvPlanes& planes, RgbFrame& out) {
    if (out.width != planes.width || out.height != planes.height ||
        out.rgb.size() != static_cast<size_t>(planes.width) * planes.height * 3)
        out.resize(planes.width, planes.height);
    const int cw = chromaWidth(planes.width, planes.halfChroma);
    const int shift = planes.halfChroma ? 1 : 0;
    uint8_t* dst = out.rgb.data();
    for (int row = 0; row < planes.height; ++row) {
        const uint8_t* yRow = planes.y + static_cast<size_t>(row) * planes.width;
        const size_t chromaRow = static_cast<size_t>(row >> shift) * cw;
        const uint8_t* uRow = planes.u + chromaRow;
        const uint8_t* vRow = planes.v + chromaRow;
        for (int col = 0; col < planes.width; ++col, dst += 3)
            yuvToRgb(yRow[col], uRow[col >> shift], vRow[col >> shift], planes.fullRange, dst);
    }
}

namespace {

// For each destination coordinate: the two source samples around its centre and the weight
// of the second one, in 1/256.
struct Taps {
    std::vector<int> first, second, weight;
};

Taps makeTaps(int srcSize, int dstSize) {
    Taps taps;
    taps.first.resize(dstSize);
    taps.second.resize(dstSize);
    taps.weight.resize(dstSize);
    for (int d = 0; d < dstSize; ++d) {
        // Centre of destination sample d in source coordinates, times 256.
        const int64_t centre =
            (static_cast<int64_t>(2 * d + 1) * srcSize * 256) / (2 * dstSize) - 128;
        const int64_t clamped =
            std::clamp<int64_t>(centre, 0, static_cast<int64_t>(srcSize - 1) * 256);
        const int index = static_cast<int>(clamped >> 8);
        taps.first[d] = index;
        taps.second[d] = std::min(index + 1, srcSize - 1);
        taps.weight[d] = static_cast<int>(clamped & 255);
    }
    return taps;
}

uint32_t blend(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d, int wx,
               int wy) {
    uint32_t packed = 0;
    for (int ch = 0; ch < 3; ++ch) {
        const int top = a[ch] * (256 - wx) + b[ch] * wx;
        const int bottom = c[ch] * (256 - wx) + d[ch] * wx;
        const int value = (top * (256 - wy) + bottom * wy + 32768) >> 16;
        packed = (packed << 8) | static_cast<uint32_t>(value);
    }
    return packed;
}

}  // namespace

void convertYuvScaled(const YuvPlanes& planes, int width, int height, RgbFrame& out) {
    if (width <= 0 || height <= 0) return;
    if (out.width != width || out.height != height) out.resize(width, height);
    const Taps xs = makeTaps(planes.width, width);
    const Taps ys = makeTaps(planes.height, height);
    const int cw = chromaWidth(planes.width, planes.halfChroma);
    const int shift = planes.halfChroma ? 1 : 0;
    // One source pixel as RGB, converted only when a tap needs it.
    auto sample = [&](int row, int col, uint8_t rgb[3]) {
        const size_t chroma = static_cast<size_t>(row >> shift) * cw + (col >> shift);
        yuvToRgb(planes.y[static_cast<size_t>(row) * planes.width + col], planes.u[chroma],
                 planes.v[chroma], planes.fullRange, rgb);
    };
    uint8_t* dst = out.rgb.data();
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col, dst += 3) {
            uint8_t a[3], b[3], c[3], d[3];
            sample(ys.first[row], xs.first[col], a);
            sample(ys.first[row], xs.second[col], b);
            sample(ys.second[row], xs.first[col], c);
            sample(ys.second[row], xs.second[col], d);
            const uint32_t packed = blend(a, b, c, d, xs.weight[col], ys.weight[row]);
            dst[0] = static_cast<uint8_t>(packed >> 16);
            dst[1] = static_cast<uint8_t>(packed >> 8);
            dst[2] = static_cast<uint8_t>(packed);
        }
    }
}

void scaleInto(const RgbFrame& src, uint32_t* dst, int dstWidth, int dstHeight, int dstStride) {
    if (src.empty() || dstWidth <= 0 || dstHeight <= 0) return;
    const Taps xs = makeTaps(src.width, dstWidth);
    const Taps ys = makeTaps(src.height, dstHeight);
    const size_t srcStride = static_cast<size_t>(src.width) * 3;
    for (int row = 0; row < dstHeight; ++row) {
        const uint8_t* upper = src.rgb.data() + ys.first[row] * srcStride;
        const uint8_t* lower = src.rgb.data() + ys.second[row] * srcStride;
        uint32_t* out = dst + static_cast<size_t>(row) * dstStride;
        for (int col = 0; col < dstWidth; ++col) {
            const size_t left = static_cast<size_t>(xs.first[col]) * 3;
            const size_t right = static_cast<size_t>(xs.second[col]) * 3;
            out[col] = blend(upper + left, upper + right, lower + left, lower + right,
                             xs.weight[col], ys.weight[row]);
        }
    }
}

void copyInto(const RgbFrame& src, uint32_t* dst, int dstWidth, int dstHeight, int dstStride) {
    const int width = std::min(src.width, dstWidth);
    const int height = std::min(src.height, dstHeight);
    for (int row = 0; row < height; ++row) {
        const uint8_t* in = src.rgb.data() + static_cast<size_t>(row) * src.width * 3;
        uint32_t* out = dst + static_cast<size_t>(row) * dstStride;
        for (int col = 0; col < width; ++col, in += 3)
            out[col] = (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2];
    }
}

}  // namespace camera
