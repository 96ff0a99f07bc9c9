#include "tools/roomclip/image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <turbojpeg.h>

// The stb implementations stay private to this file.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#include <stb_image.h>
#include <stb_image_resize.h>
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace roomclip {

namespace {

std::vector<uint8_t> toBytes(const Image& image) {
    std::vector<uint8_t> bytes(static_cast<size_t>(image.width) * image.height * 3);
    for (size_t i = 0, n = bytes.size() / 3; i < n; ++i)
        for (int c = 0; c < 3; ++c) bytes[i * 3 + c] = toByte(image.data[i * image.channels + c]);
    return bytes;
}

void fromBytes(const uint8_t* bytes, Image& image) {
    for (size_t i = 0, n = static_cast<size_t>(image.width) * image.height; i < n; ++i)
        for (int c = 0; c < 3; ++c) image.data[i * image.channels + c] = bytes[i * 3 + c];
}

}  // namespace

bool loadImage(const std::string& path, Image& out, std::string& error) {
    int w = 0, h = 0, n = 0;
    uint8_t* pixels = stbi_load(path.c_str(), &w, &h, &n, 3);
    if (!pixels) {
        error = "cannot read the photo " + path + ": " + stbi_failure_reason();
        return false;
    }
    out = Image(w, h);
    fromBytes(pixels, out);
    stbi_image_free(pixels);
    return true;
}

bool savePng(const std::string& path, const Image& image, std::string& error) {
    const std::vector<uint8_t> bytes = toBytes(image);
    if (!stbi_write_png(path.c_str(), image.width, image.height, 3, bytes.data(),
                        image.width * 3)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

void jpegRoundTrip(Image& image, int quality) {
    const std::vector<uint8_t> bytes = toBytes(image);
    tjhandle encoder = tjInitCompress();
    tjhandle decoder = tjInitDecompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> decoded(bytes.size());
    // 4:2:0, as webcams send their motion JPEG.
    if (encoder && decoder &&
        tjCompress2(encoder, bytes.data(), image.width, 0, image.height, TJPF_RGB, &jpeg, &size,
                    TJSAMP_420, quality, 0) == 0 &&
        tjDecompress2(decoder, jpeg, size, decoded.data(), image.width, 0, image.height, TJPF_RGB,
                      0) == 0)
        fromBytes(decoded.data(), image);
    tjFree(jpeg);
    if (decoder) tjDestroy(decoder);
    if (encoder) tjDestroy(encoder);
}

void sampleBilinear(const Image& image, double x, double y, float* out) {
    const double fx = x - 0.5, fy = y - 0.5;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const float ax = static_cast<float>(fx - x0), ay = static_cast<float>(fy - y0);
    for (int c = 0; c < image.channels; ++c) out[c] = 0.0f;
    const float weights[4] = {(1 - ax) * (1 - ay), ax * (1 - ay), (1 - ax) * ay, ax * ay};
    for (int k = 0; k < 4; ++k) {
        const int px = x0 + (k & 1), py = y0 + (k >> 1);
        if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
        const float* p = image.at(px, py);
        for (int c = 0; c < image.channels; ++c) out[c] += weights[k] * p[c];
    }
}

Image cropResize(const Image& image, int x, int y, int w, int h, int outW, int outH) {
    Image out(outW, outH, image.channels);
    const float* first = image.at(x, y);
    stbir_resize_float(first, w, h, image.width * image.channels * static_cast<int>(sizeof(float)),
                       out.data.data(), outW, outH, 0, image.channels);
    return out;
}

Image halve(const Image& image) {
    Image out(std::max(1, image.width / 2), std::max(1, image.height / 2), image.channels);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            float* o = out.at(x, y);
            for (int k = 0; k < 4; ++k) {
                const int px = std::min(image.width - 1, 2 * x + (k & 1));
                const int py = std::min(image.height - 1, 2 * y + (k >> 1));
                const float* p = image.at(px, py);
                for (int c = 0; c < image.channels; ++c) o[c] += 0.25f * p[c];
            }
        }
    return out;
}

}  // namespace roomclip
