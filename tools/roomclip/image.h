// Colour pictures as floats (0..255 a channel), read from and written to the photo formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace roomclip {

struct Image {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<float> data;  // rows top-down, channels interleaved

    Image() = default;
    Image(int w, int h, int c = 3, float fill = 0.0f)
        : width(w), height(h), channels(c), data(static_cast<size_t>(w) * h * c, fill) {}
    float* at(int x, int y) { return &data[(static_cast<size_t>(y) * width + x) * channels]; }
    const float* at(int x, int y) const {
        return &data[(static_cast<size_t>(y) * width + x) * channels];
    }
    bool empty() const { return data.empty(); }
};

// The nearest byte value.
inline uint8_t toByte(float v) {
    return static_cast<uint8_t>(v <= 0 ? 0 : v >= 255 ? 255 : static_cast<int>(v + 0.5f));
}

// Reads a JPEG or PNG as three channels; false with the reason (naming the file) on failure.
bool loadImage(const std::string& path, Image& out, std::string& error);

// Writes the first three channels as an 8-bit PNG.
bool savePng(const std::string& path, const Image& image, std::string& error);

// The picture after a round trip through libjpeg-turbo at `quality` (1..100), 4:2:0; left as
// it was if the library fails.
void jpegRoundTrip(Image& image, int quality);

// Channels at (x, y) in pixel-centre coordinates, bilinear; zero outside the picture.
void sampleBilinear(const Image& image, double x, double y, float* out);

// The rectangle (x, y, w, h) of `image` scaled to outW x outH (area-weighted).
Image cropResize(const Image& image, int x, int y, int w, int h, int outW, int outH);

// Half the size in each direction, each pixel the mean of four.
Image halve(const Image& image);

}  // namespace roomclip
