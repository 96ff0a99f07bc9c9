// Camera pictures on their way from a driver to the capture window: packed RGB24 frames,
// the BT.601 conversion from YUV planes and the scaling into a 32-bit canvas.
#pragma once

#include <cstdint>
#include <vector>

namespace camera {

// One picture as the driver delivers it: rows top-down, 3 bytes a pixel, red first.
struct RgbFrame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    // Set by a consumer that only ever shows the picture scaled to this size (0: as it is). A
    // producer may then deliver it at that size already: a big clip then costs a read and a
    // scaled conversion, not the conversion of every pixel nobody will see.
    int fitWidth = 0;
    int fitHeight = 0;

    void resize(int w, int h);
    bool empty() const { return width <= 0 || height <= 0; }
};

// Planar YUV in one of the layouts clips use: the chroma planes either match the luma plane
// (4:4:4) or are halved both ways, rounded up (4:2:0).
struct YuvPlanes {
    const uint8_t* y = nullptr;
    const uint8_t* u = nullptr;
    const uint8_t* v = nullptr;
    int width = 0;
    int height = 0;
    bool halfChroma = false;  // 4:2:0
    bool fullRange = false;   // 0..255 luma instead of the studio 16..235
};

int chromaWidth(int width, bool halfChroma);
int chromaHeight(int height, bool halfChroma);

// BT.601 conversion of one pixel; exposed so tests can check known colours.
void yuvToRgb(int y, int u, int v, bool fullRange, uint8_t rgb[3]);

// Converts the planes into `out`, resizing it to the planes' size.
void convertYuv(const YuvPlanes& planes, RgbFrame& out);

// Converts the planes straight into a picture of width x height, resizing `out`: the same
// pixels as convertYuv followed by scaleInto, at a cost set by the output size alone.
void convertYuvScaled(const YuvPlanes& planes, int width, int height, RgbFrame& out);

// Bilinear scaling of `src` into a destination of dstWidth x dstHeight 32-bit pixels laid out
// as 0x00RRGGBB words, `dstStride` words apart row to row. Exact when the sizes match.
void scaleInto(const RgbFrame& src, uint32_t* dst, int dstWidth, int dstHeight, int dstStride);

// Unscaled: the picture's top-left corner at the destination's, cut to the smaller size;
// whatever the picture does not cover is left as it was.
void copyInto(const RgbFrame& src, uint32_t* dst, int dstWidth, int dstHeight, int dstStride);

}  // namespace camera
