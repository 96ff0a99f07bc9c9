// Small YUV4MPEG2 clips for the tests that play one as their camera. The clips are 4:4:4, so
// no chroma subsampling blurs the edges the tests look at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace testsupport {

// One picture as its three full-size planes: Y, Cb, Cr.
struct YuvPicture {
    int width = 0;
    int height = 0;
    std::string planes[3];

    YuvPicture(int w, int h) : width(w), height(h) {
        for (std::string& plane : planes) plane.assign(static_cast<size_t>(w) * h, '\0');
    }
    void set(int x, int y, const uint8_t (&yuv)[3]) {
        for (int c = 0; c < 3; ++c)
            planes[c][static_cast<size_t>(y) * width + x] = static_cast<char>(yuv[c]);
    }
};

// The quadrant picture's colours: red, green / blue, white (top-left, top-right, bottom-left,
// bottom-right), and their studio-range YCbCr.
constexpr uint8_t kQuadrantRgb[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
constexpr uint8_t kQuadrantYuv[4][3] = {
    {81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {235, 128, 128}};

inline YuvPicture quadrantPicture(int width, int height) {
    YuvPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.set(x, y, kQuadrantYuv[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)]);
    return picture;
}

// `frames` frames of `picture` at `fps` frames a second.
inline std::string y4mClip(const YuvPicture& picture, int fps, int frames) {
    std::string bytes = "YUV4MPEG2 W" + std::to_string(picture.width) + " H" +
                        std::to_string(picture.height) + " F" + std::to_string(fps) +
                        ":1 Ip A1:1 C444\n";
    for (int k = 0; k < frames; ++k)
        bytes += "FRAME\n" + picture.planes[0] + picture.planes[1] + picture.planes[2];
    return bytes;
}

// Writes the clip to `path`; false when it could not be written whole.
inline bool writeY4m(const std::string& path, const YuvPicture& picture, int fps, int frames) {
    std::ofstream out(path, std::ios::binary);
    out << y4mClip(picture, fps, frames);
    out.close();
    return static_cast<bool>(out);
}

inline bool writeQuadrantClip(const std::string& path, int width, int height, int fps, int frames) {
    return writeY4m(path, quadrantPicture(width, height), fps, frames);
}

}  // namespace testsupport
