// Solids for the generated meshes: small vector maths, placed frames, and closed solids
// lofted between rings, written corner by corner (each corner its own vertex and normal).
#pragma once

#include <cmath>
#include <vector>

namespace assetgen::solid {

struct Vec3 {
    double x, y, z;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline Vec3 normalize(Vec3 a) {
    const double len = std::sqrt(dot(a, a));
    return len > 0.0 ? a * (1.0 / len) : Vec3{0.0, 1.0, 0.0};
}

struct Mat3 {
    double m[3][3];
};

inline Mat3 operator*(const Mat3& a, const Mat3& b) {
    Mat3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

inline Vec3 operator*(const Mat3& a, Vec3 v) {
    return {a.m[0][0] * v.x + a.m[0][1] * v.y + a.m[0][2] * v.z,
            a.m[1][0] * v.x + a.m[1][1] * v.y + a.m[1][2] * v.z,
            a.m[2][0] * v.x + a.m[2][1] * v.y + a.m[2][2] * v.z};
}

// A body part's placement: local points map to r * p + t.
struct Frame {
    Mat3 r;
    Vec3 t;
    Vec3 point(Vec3 p) const { return r * p + t; }
    // A child joint at `offset` in this frame, turned by `turn` relative to this frame.
    Frame child(Vec3 offset, const Mat3& turn) const { return {r * turn, point(offset)}; }
};

// Right-handed rotations by degrees. rotX(+a) tips +y towards +z (a forward lean).
Mat3 rotX(double deg);
Mat3 rotY(double deg);
Mat3 rotZ(double deg);

// A limb segment from joint `from` to joint `to`: local -y runs along it, local +z leans
// towards `zHint` (the way a knee points).
Frame segment(Vec3 from, Vec3 to, Vec3 zHint);

struct Corner {
    Vec3 p, n;
};
typedef std::vector<Corner> Mesh;

struct RingPoint {
    double x, z;
};
typedef std::vector<RingPoint> Ring;

// Rectangular and round cross-sections.
Ring boxRing(double halfWidth, double zBack, double zFront);
Ring boxRing(double halfWidth, double halfDepth);
Ring roundRing(double radius, int sides);

// A closed solid between two rings at heights y0 and y1 along local y. Smooth solids get one
// normal per ring point (a rounded look); the others one per face (a machined look).
void loft(Mesh& mesh, const Frame& f, double y0, const Ring& r0, double y1, const Ring& r1,
          bool smooth);
// A machined solid of one cross-section.
void box(Mesh& mesh, const Frame& f, double y0, double y1, const Ring& ring);

}  // namespace assetgen::solid
