// Points, polygons and the angles of the hand cuts, in photo or frame pixels.
#pragma once

#include <cmath>
#include <vector>

namespace roomclip {

constexpr double kPi = 3.14159265358979323846;

struct Point {
    double x = 0, y = 0;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator*(Point a, double k) { return {a.x * k, a.y * k}; }
inline double dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
inline double length(Point a) { return std::hypot(a.x, a.y); }
inline Point rotate(Point a, double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {c * a.x - s * a.y, s * a.x + c * a.y};
}
inline double angleOf(Point a) { return std::atan2(a.y, a.x); }

using Polygon = std::vector<Point>;

// Even-odd rule.
inline bool inside(const Polygon& polygon, Point p) {
    bool in = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point a = polygon[i], b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

}  // namespace roomclip
