#include "tools/roomclip/hand_sprite.h"

#include <algorithm>
#include <cmath>

namespace roomclip {

namespace {

constexpr double kDegree = kPi / 180;

// How far each digit turns away from the middle finger (positive: outwards), by shape, in
// degrees; NAN drops it (folded onto the palm). Thumb, index, middle, ring, little.
struct Turns {
    double digit[5];
};

Turns turnsOf(Shape shape) {
    switch (shape) {
    case Shape::PaperSpread: return {{8, 7, 0, 6, 11}};
    case Shape::PaperFlat: return {{-0.65, -0.8, -0.8, -0.8, -0.8}};  // share of the spread kept
    case Shape::Scissors: return {{NAN, 12, -12, NAN, NAN}};
    default: return {{NAN, NAN, NAN, NAN, NAN}};
    }
}

struct Digit {
    uint8_t part;
    Point pivot;
    double outwards;  // +1 or -1: the turn that takes it away from the middle finger
    double angle;     // of its centre seen from the pivot, from the hand's axis
};

Digit digitOf(const HandPhoto& photo, int index) {
    Digit d;
    d.part = static_cast<uint8_t>(index == 0 ? kThumb : kIndex + index - 1);
    d.pivot = index == 0 ? photo.notes.thumbPivot : photo.notes.fingerPivots[index - 1];
    double sx = 0, sy = 0;
    long n = 0;
    for (int y = 0; y < photo.picture.height; ++y)
        for (int x = 0; x < photo.picture.width; ++x)
            if (photo.partAt(x, y) == d.part) sx += x + 0.5, sy += y + 0.5, ++n;
    const Point centre = n ? Point{sx / n, sy / n} : d.pivot + photo.axis;
    const Point dir = centre - d.pivot;
    d.angle = std::remainder(angleOf(dir) - angleOf(photo.axis), 2 * kPi);
    const Point middleSide = d.pivot - photo.notes.fingerPivots[1];
    // Turning by a positive angle moves a point along rotate(axis, +90 degrees).
    const double side = dot(middleSide, rotate(photo.axis, kPi / 2));
    d.outwards = index == 2 ? (dot(photo.notes.fingerPivots[2] - photo.notes.fingerPivots[1],
                                   rotate(photo.axis, kPi / 2)) > 0
                                   ? -1.0
                                   : 1.0)
                            : (side >= 0 ? 1.0 : -1.0);
    return d;
}

// The turn, in radians, that gives the digit its place in the shape.
double turnOf(const Digit& d, Shape shape, int index) {
    const double t = turnsOf(shape).digit[index];
    if (shape == Shape::PaperFlat) return t * d.angle;  // towards the axis
    return d.outwards * t * kDegree;
}

// Premultiplied RGBA of the photo's pixels of one part (bilinear at p).
void samplePart(const HandPhoto& photo, uint8_t part, Point p, float* out) {
    const double fx = p.x - 0.5, fy = p.y - 0.5;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double ax = fx - x0, ay = fy - y0;
    for (int c = 0; c < 4; ++c) out[c] = 0;
    for (int k = 0; k < 4; ++k) {
        const int x = x0 + (k & 1), y = y0 + (k >> 1);
        if (photo.partAt(x, y) != part) continue;
        const float w = static_cast<float>(((k & 1) ? ax : 1 - ax) * ((k >> 1) ? ay : 1 - ay));
        const float* c = photo.picture.at(x, y);
        for (int i = 0; i < 3; ++i) out[i] += w * c[i];
        out[3] += w;
    }
}

void over(float* dst, const float* src) {
    const float keep = 1 - src[3];
    for (int c = 0; c < 4; ++c) dst[c] = src[c] + keep * dst[c];
}

void measureSprite(HandSprite& sprite) {
    const Image& full = sprite.levels[0];
    double sx = 0, sy = 0, sw = 0, far = 0;
    sprite.boxMin = {1e9, 1e9};
    sprite.boxMax = {-1e9, -1e9};
    for (int y = 0; y < full.height; ++y)
        for (int x = 0; x < full.width; ++x) {
            const float a = full.at(x, y)[3];
            if (a > 0) {
                const Point p = sprite.origin + Point{double(x), double(y)};
                sprite.boxMin = {std::min(sprite.boxMin.x, p.x), std::min(sprite.boxMin.y, p.y)};
                sprite.boxMax = {std::max(sprite.boxMax.x, p.x + 1),
                                 std::max(sprite.boxMax.y, p.y + 1)};
            }
            if (a < 0.5f) continue;
            const Point p = sprite.origin + Point{x + 0.5, y + 0.5};
            sx += p.x, sy += p.y, sw += 1;
            far = std::max(far, dot(p - sprite.wristCentre, sprite.axis));
            if ((x + y) % 3 == 0) sprite.outline.push_back(p);
        }
    sprite.centre = {sx / std::max(1.0, sw), sy / std::max(1.0, sw)};
    sprite.length = far;
}

}  // namespace

int signOf(Shape shape) {
    switch (shape) {
    case Shape::Rock: return 1;
    case Shape::PaperSpread:
    case Shape::PaperFlat: return 2;
    case Shape::Scissors: return 3;
    default: return 0;
    }
}

const char* nameOf(Shape shape) {
    switch (shape) {
    case Shape::Rock: return "rock";
    case Shape::PaperSpread: return "paper-spread";
    case Shape::PaperFlat: return "paper-flat";
    case Shape::Scissors: return "scissors";
    default: return "none";
    }
}

HandSprite makeSprite(const HandPhoto& photo, Shape shape) {
    HandSprite sprite;
    sprite.shape = shape;
    sprite.wristCentre = photo.wristCentre;
    sprite.axis = photo.axis;
    sprite.across = photo.across;
    sprite.wristHalfWidth = photo.wristHalfWidth;
    std::copy(photo.skin, photo.skin + 3, sprite.skin);
    // Turned fingers may leave the photo: a margin of a quarter of its size on every side.
    const int margin = std::max(photo.picture.width, photo.picture.height) / 4;
    sprite.origin = {-static_cast<double>(margin), -static_cast<double>(margin)};
    Image rgba(photo.picture.width + 2 * margin, photo.picture.height + 2 * margin, 4);
    std::vector<Digit> digits;
    std::vector<double> turns;
    for (int i = 0; i < 5; ++i) {
        const double t = turnsOf(shape).digit[i];
        if (std::isnan(t)) continue;
        digits.push_back(digitOf(photo, i));
        turns.push_back(turnOf(digits.back(), shape, i));
    }
    float layer[4];
    for (int y = 0; y < rgba.height; ++y)
        for (int x = 0; x < rgba.width; ++x) {
            const Point p = sprite.origin + Point{x + 0.5, y + 0.5};
            float* out = rgba.at(x, y);
            samplePart(photo, kPalm, p, out);
            for (size_t i = 0; i < digits.size(); ++i) {
                const Point source = digits[i].pivot + rotate(p - digits[i].pivot, -turns[i]);
                samplePart(photo, digits[i].part, source, layer);
                over(out, layer);
            }
        }
    sprite.levels.push_back(std::move(rgba));
    while (sprite.levels.back().width > 8) sprite.levels.push_back(halve(sprite.levels.back()));
    measureSprite(sprite);
    return sprite;
}

}  // namespace roomclip
