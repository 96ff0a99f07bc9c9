#include "tools/assetgen/picture_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

// The stb implementations stay private to this file so other generator parts may use their
// own; their unused helpers and loose style are not ours to warn about.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>
#pragma GCC diagnostic pop

namespace assetgen {

namespace {

const char* const fontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

unsigned char toByte(float v) { return static_cast<unsigned char>(clamp01(v) * 255.0f + 0.5f); }

void putLe(std::vector<unsigned char>& out, unsigned value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xff));
}

struct InkBox {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f, advance = 0.0f;
};

}  // namespace

Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaled(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }

Shape circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Shape capsule(float ax, float ay, float bx, float by, float radius) {
    return [=](float x, float y) {
        const float dx = bx - ax, dy = by - ay;
        const float len2 = dx * dx + dy * dy;
        const float t = len2 > 0.0f ? clamp01(((x - ax) * dx + (y - ay) * dy) / len2) : 0.0f;
        return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) - radius;
    };
}

Shape roundBox(float cx, float cy, float halfWidth, float halfHeight, float radius) {
    return [=](float x, float y) {
        const float qx = std::fabs(x - cx) - halfWidth + radius;
        const float qy = std::fabs(y - cy) - halfHeight + radius;
        return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) +
               std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Shape star(float cx, float cy, float inner, float outer, int points) {
    // Polygon distance: the nearest edge, signed by an even-odd crossing count.
    std::vector<float> vx, vy;
    for (int i = 0; i < 2 * points; ++i) {
        const float a = static_cast<float>(M_PI) * i / points;
        const float r = i % 2 == 0 ? outer : inner;
        vx.push_back(cx + r * std::sin(a));
        vy.push_back(cy - r * std::cos(a));
    }
    return [=](float x, float y) {
        float best = 1e9f;
        bool inside = false;
        const std::size_t n = vx.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            best = std::min(best, capsule(vx[j], vy[j], vx[i], vy[i], 0.0f)(x, y));
            if ((vy[i] > y) != (vy[j] > y) &&
                x < (vx[j] - vx[i]) * (y - vy[i]) / (vy[j] - vy[i]) + vx[i])
                inside = !inside;
        }
        return inside ? -best : best;
    };
}

Shape unite(std::vector<Shape> parts) {
    return [parts](float x, float y) {
        float d = 1e9f;
        for (const Shape& s : parts) d = std::min(d, s(x, y));
        return d;
    };
}

Shape grown(Shape shape, float by) {
    return [shape, by](float x, float y) { return shape(x, y) - by; };
}

Shape hollow(Shape shape, float thickness) {
    return [shape, thickness](float x, float y) {
        return std::fabs(shape(x, y) + thickness / 2.0f) - thickness / 2.0f;
    };
}

Canvas::Canvas(int width, int height, Rgb background)
    : w(width), h(height), rgb(static_cast<std::size_t>(width) * height * 3) {
    paint([background](float, float) { return background; });
}

Rgb Canvas::at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * w + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

void Canvas::put(int x, int y, Rgb c) {
    const std::size_t i = (static_cast<std::size_t>(y) * w + x) * 3;
    rgb[i] = c.r;
    rgb[i + 1] = c.g;
    rgb[i + 2] = c.b;
}

void Canvas::paint(const std::function<Rgb(float, float)>& colour) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(x, y, colour(x + 0.5f, y + 0.5f));
}

void Canvas::fill(const Shape& shape, Rgb colour) {
    fill(shape, [colour](float, float) { return colour; });
}

void Canvas::fill(const Shape& shape, const std::function<Rgb(float, float)>& colour) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float coverage = clamp01(0.5f - shape(px, py));
            if (coverage > 0.0f) put(x, y, mix(at(x, y), colour(px, py), coverage));
        }
}

void Canvas::cover(const std::vector<float>& mask, const std::function<Rgb(float, float)>& colour) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float coverage = mask[static_cast<std::size_t>(y) * w + x];
            if (coverage > 0.0f)
                put(x, y, mix(at(x, y), colour(x + 0.5f, y + 0.5f), clamp01(coverage)));
        }
}

bool Canvas::save(const std::string& path, int outWidth, int outHeight) const {
    std::vector<float> resized(static_cast<std::size_t>(outWidth) * outHeight * 3);
    stbir_resize_float(rgb.data(), w, h, 0, resized.data(), outWidth, outHeight, 0, 3);
    std::vector<unsigned char> bytes(resized.size());
    std::transform(resized.begin(), resized.end(), bytes.begin(), toByte);
    return writeBmp(path, outWidth, outHeight, bytes.data());
}

Lettering::Lettering() {
    std::ifstream in(fontPath, std::ios::binary);
    font.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    stbtt_fontinfo info;
    if (font.empty() || !stbtt_InitFont(&info, font.data(), 0)) {
        std::fprintf(stderr, "assetgen: cannot read the font %s\n", fontPath);
        font.clear();
    }
}

bool Lettering::bake(float pixelHeight, int size, std::vector<unsigned char>& grey,
                     std::string& metrics) const {
    constexpr int kFirst = 32, kCount = 95;
    stbtt_bakedchar baked[kCount];
    grey.assign(static_cast<std::size_t>(size) * size, 0);
    if (font.empty() || stbtt_BakeFontBitmap(font.data(), 0, pixelHeight, grey.data(), size, size,
                                             kFirst, kCount, baked) <= 0)
        return false;
    char line[128];
    for (int i = 0; i < kCount; ++i) {
        const stbtt_bakedchar& b = baked[i];
        std::snprintf(line, sizeof line, "glyph %d %d %d %d %d %.2f %.2f %.2f\n", kFirst + i, b.x0,
                      b.y0, b.x1, b.y1, b.xoff, b.yoff, b.xadvance);
        metrics += line;
    }
    return true;
}

std::vector<float> Lettering::fit(const Canvas& canvas, const std::string& text, float left,
                                  float top, float width, float height, int align) const {
    std::vector<float> mask(static_cast<std::size_t>(canvas.width()) * canvas.height(), 0.0f);
    if (!ok()) return mask;
    stbtt_fontinfo info;
    stbtt_InitFont(&info, font.data(), 0);

    // Ink extent of the whole text in font units (y up), to centre what is actually drawn.
    InkBox ink;
    for (char c : text) {
        int x0, y0, x1, y1, advance, bearing;
        stbtt_GetCodepointHMetrics(&info, c, &advance, &bearing);
        if (stbtt_GetCodepointBox(&info, c, &x0, &y0, &x1, &y1)) {
            ink.x0 = std::min(ink.x0, ink.advance + x0);
            ink.x1 = std::max(ink.x1, ink.advance + x1);
            ink.y0 = std::min(ink.y0, static_cast<float>(y0));
            ink.y1 = std::max(ink.y1, static_cast<float>(y1));
        }
        ink.advance += advance;
    }
    if (ink.x1 <= ink.x0) return mask;
    const float scale = std::min(height / (ink.y1 - ink.y0), width / (ink.x1 - ink.x0));
    const float slack = width - (ink.x1 - ink.x0) * scale;
    float pen = left + slack * (align < 0 ? 0.0f : align == 0 ? 0.5f : 1.0f) - ink.x0 * scale;
    const int baseline = static_cast<int>(
        std::lround(top + (height - (ink.y1 - ink.y0) * scale) / 2.0f + ink.y1 * scale));

    for (char c : text) {
        int advance, bearing, bx0, by0, bx1, by1;
        stbtt_GetCodepointHMetrics(&info, c, &advance, &bearing);
        const float shift = pen - std::floor(pen);
        stbtt_GetCodepointBitmapBoxSubpixel(&info, c, scale, scale, shift, 0.0f, &bx0, &by0, &bx1,
                                            &by1);
        const int gw = bx1 - bx0, gh = by1 - by0;
        if (gw > 0 && gh > 0) {
            std::vector<unsigned char> glyph(static_cast<std::size_t>(gw) * gh);
            stbtt_MakeCodepointBitmapSubpixel(&info, glyph.data(), gw, gh, gw, scale, scale, shift,
                                              0.0f, c);
            const int ox = static_cast<int>(std::floor(pen)) + bx0, oy = baseline + by0;
            for (int y = 0; y < gh; ++y)
                for (int x = 0; x < gw; ++x) {
                    const int cx = ox + x, cy = oy + y;
                    if (cx < 0 || cy < 0 || cx >= canvas.width() || cy >= canvas.height()) continue;
                    float& m = mask[static_cast<std::size_t>(cy) * canvas.width() + cx];
                    m = std::min(1.0f, m + glyph[static_cast<std::size_t>(y) * gw + x] / 255.0f);
                }
        }
        pen += advance * scale;
    }
    return mask;
}

std::vector<float> dilate(const std::vector<float>& mask, int width, int height, float radius) {
    std::vector<float> out(mask.size(), 0.0f);
    const int r = static_cast<int>(std::ceil(radius));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float best = 0.0f;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= width || sy >= height) continue;
                    // Soft rim: weight falls off over the last pixel of the radius.
                    const float weight = clamp01(radius + 0.5f - std::hypot(dx, dy));
                    best = std::max(best, mask[static_cast<std::size_t>(sy) * width + sx] * weight);
                }
            out[static_cast<std::size_t>(y) * width + x] = best;
        }
    return out;
}

bool writeBmp(const std::string& path, int width, int height, const unsigned char* rgb) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const unsigned imageBytes = static_cast<unsigned>(rowBytes) * height;
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    putLe(out, 54 + imageBytes, 4);
    putLe(out, 0, 4);
    putLe(out, 54, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<unsigned>(width), 4);
    putLe(out, static_cast<unsigned>(height), 4);  // positive: rows stored bottom-up
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);  // no compression
    putLe(out, imageBytes, 4);
    putLe(out, 2835, 4);
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        const unsigned char* row = rgb + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            out.push_back(row[3 * x + 2]);
            out.push_back(row[3 * x + 1]);
            out.push_back(row[3 * x]);
        }
        out.resize(out.size() + (rowBytes - width * 3), 0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

std::vector<unsigned char> loadRgb(const std::string& path, int& width, int& height) {
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
    if (!pixels) {
        std::fprintf(stderr, "assetgen: cannot read %s: %s\n", path.c_str(), stbi_failure_reason());
        return {};
    }
    std::vector<unsigned char> rgb(pixels, pixels + static_cast<std::size_t>(width) * height * 3);
    stbi_image_free(pixels);
    return rgb;
}

bool writeResized(const std::string& path, const std::vector<unsigned char>& rgb, int width,
                  int height, int outWidth, int outHeight) {
    std::vector<unsigned char> out(static_cast<std::size_t>(outWidth) * outHeight * 3);
    stbir_resize_uint8(rgb.data(), width, height, 0, out.data(), outWidth, outHeight, 0, 3);
    return writeBmp(path, outWidth, outHeight, out.data());
}

}  // namespace assetgen
