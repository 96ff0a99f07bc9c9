// The desktop icon: a robot fighter's head, drawn straight from shapes at every size so the
// small one stays sharp, with transparency, as PNG in the hicolor theme's folder layout.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/picture_canvas.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace assetgen {

namespace {

constexpr float kDesign = 256.0f;  // shapes are laid out on a 256 x 256 grid
constexpr int kSamples = 4;        // per pixel and axis, for smooth edges at 48 px

typedef std::function<Rgb(float x, float y)> Paint;

struct Layer {
    Shape shape;
    Paint paint;
};

Paint flatPaint(Rgb c) {
    return [c](float, float) { return c; };
}

Paint verticalPaint(Rgb top, Rgb bottom, float y0, float y1) {
    return [=](float, float y) {
        return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f));
    };
}

// A light: hot centre fading to its colour at `radius`.
Paint glowPaint(float cx, float cy, float radius, Rgb centre, Rgb edge) {
    return [=](float x, float y) {
        const float d = std::clamp(std::hypot(x - cx, y - cy) / radius, 0.0f, 1.0f);
        return mix(centre, edge, d * d);
    };
}

Paint eyePaint(float cx, float cy, float radius) {
    return glowPaint(cx, cy, radius, {0.9f, 1.0f, 1.0f}, {0.0f, 0.75f, 1.0f});
}

std::vector<Layer> robotHead() {
    const Rgb ink = {0.05f, 0.06f, 0.12f};
    const Shape antenna = capsule(128, 30, 128, 60, 7);
    const Shape bulb = circle(128, 28, 16);
    const Shape ears = unite({roundBox(30, 136, 16, 36, 10), roundBox(226, 136, 16, 36, 10)});
    const Shape head = roundBox(128, 142, 92, 88, 34);
    const Shape visor = roundBox(128, 124, 72, 32, 26);
    const Shape mouth = roundBox(128, 192, 48, 15, 7);
    std::vector<Layer> layers = {
        {grown(unite({antenna, bulb, ears, head}), 9), flatPaint(ink)},
        {antenna, flatPaint({0.55f, 0.58f, 0.66f})},
        {bulb, glowPaint(121, 21, 19, {1.0f, 0.9f, 0.7f}, {0.9f, 0.1f, 0.05f})},
        {ears, verticalPaint({0.75f, 0.3f, 0.25f}, {0.45f, 0.1f, 0.1f}, 100, 172)},
        {head, verticalPaint({0.78f, 0.84f, 0.95f}, {0.26f, 0.32f, 0.5f}, 54, 230)},
        {visor, flatPaint({0.04f, 0.06f, 0.14f})},
        {circle(98, 124, 19), eyePaint(98, 124, 19)},
        {circle(158, 124, 19), eyePaint(158, 124, 19)},
        {mouth, flatPaint(ink)},
    };
    for (float x : {102.0f, 128.0f, 154.0f})
        layers.push_back({roundBox(x, 192, 6, 9, 3), flatPaint({0.55f, 0.6f, 0.72f})});
    return layers;
}

unsigned char byteOf(float v) {
    return static_cast<unsigned char>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f);
}

// Straight (not premultiplied) RGBA of `size` x `size` pixels.
std::vector<unsigned char> render(const std::vector<Layer>& layers, int size) {
    std::vector<unsigned char> rgba(static_cast<size_t>(size) * size * 4);
    const float unit = kDesign / size;
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            float r = 0, g = 0, b = 0, covered = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float x = (px + (sx + 0.5f) / kSamples) * unit;
                    const float y = (py + (sy + 0.5f) / kSamples) * unit;
                    const Layer* top = nullptr;
                    for (const Layer& layer : layers)
                        if (layer.shape(x, y) < 0.0f) top = &layer;
                    if (!top) continue;
                    const Rgb c = top->paint(x, y);
                    r += c.r, g += c.g, b += c.b, covered += 1.0f;
                }
            unsigned char* out = &rgba[(static_cast<size_t>(py) * size + px) * 4];
            if (covered > 0) {
                out[0] = byteOf(r / covered), out[1] = byteOf(g / covered),
                out[2] = byteOf(b / covered);
            }
            out[3] = byteOf(covered / (kSamples * kSamples));
        }
    return rgba;
}

}  // namespace

bool writeIcons(const std::string& dir) {
    const std::vector<Layer> layers = robotHead();
    for (int size : {48, 128, 256}) {
        const std::string folder =
            dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const std::string path = folder + "/vorlaxis.png";
        const std::vector<unsigned char> rgba = render(layers, size);
        if (error || !stbi_write_png(path.c_str(), size, size, 4, rgba.data(), size * 4)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace assetgen
