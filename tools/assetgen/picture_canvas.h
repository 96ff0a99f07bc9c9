#pragma once
// A small floating-point RGB canvas for drawing the game's pictures: anti-aliased shapes from
// signed distances, TrueType lettering with an outline, and output as 24-bit BMP files.
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

struct Rgb {
    float r, g, b;
};

Rgb mix(Rgb a, Rgb b, float t);
Rgb scaled(Rgb c, float k);

// Signed distance in pixels from a point to a shape: negative inside.
typedef std::function<float(float x, float y)> Shape;

Shape circle(float cx, float cy, float radius);
Shape capsule(float ax, float ay, float bx, float by, float radius);
Shape roundBox(float cx, float cy, float halfWidth, float halfHeight, float radius);
// A star of `points` tips between the inner and outer radius, first tip straight up.
Shape star(float cx, float cy, float inner, float outer, int points);
Shape unite(std::vector<Shape> parts);
Shape grown(Shape shape, float by);
Shape hollow(Shape shape, float thickness);  // a band `thickness` wide along the edge

class Canvas {
public:
    Canvas(int width, int height, Rgb background);

    int width() const { return w; }
    int height() const { return h; }
    Rgb at(int x, int y) const;
    void put(int x, int y, Rgb c);

    // Every pixel takes colour(x, y) (pixel centres at x + 0.5, y + 0.5).
    void paint(const std::function<Rgb(float x, float y)>& colour);
    // Covers the shape, anti-aliased, with a flat colour or a colour per pixel.
    void fill(const Shape& shape, Rgb colour);
    void fill(const Shape& shape, const std::function<Rgb(float x, float y)>& colour);
    // Lays a coverage mask of the canvas' size over it in a colour per pixel.
    void cover(const std::vector<float>& mask, const std::function<Rgb(float x, float y)>& colour);

    // Resamples to the given size and writes an uncompressed bottom-up 24-bit BMP.
    bool save(const std::string& path, int outWidth, int outHeight) const;

private:
    int w, h;
    std::vector<float> rgb;
};

// Lettering in DejaVu Sans Bold.
class Lettering {
public:
    Lettering();
    bool ok() const { return !font.empty(); }

    // Coverage mask (canvas-sized) of `text` fitted into the box (left, top, width, height):
    // as tall as the box allows, narrowed to its width; align -1 left, 0 centre, 1 right.
    std::vector<float> fit(const Canvas& canvas, const std::string& text, float left, float top,
                           float width, float height, int align) const;

    // Packs the printable ASCII glyphs at `pixelHeight` into a `size` x `size` grey atlas; one
    // line per glyph into `metrics`: code, box in the atlas, offset from the pen, advance.
    bool bake(float pixelHeight, int size, std::vector<unsigned char>& grey,
              std::string& metrics) const;

private:
    std::vector<unsigned char> font;
};

// The mask widened by `radius` pixels, for outlining lettering.
std::vector<float> dilate(const std::vector<float>& mask, int width, int height, float radius);

bool writeBmp(const std::string& path, int width, int height, const unsigned char* rgb);
// An image file (JPEG, PNG, ...) as RGB bytes; empty after a message when it cannot be read.
std::vector<unsigned char> loadRgb(const std::string& path, int& width, int& height);
// Resamples RGB bytes and writes them as a 24-bit BMP.
bool writeResized(const std::string& path, const std::vector<unsigned char>& rgb, int width,
                  int height, int outWidth, int outHeight);

}  // namespace assetgen
