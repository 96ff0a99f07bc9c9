#include "tools/assetgen/solid.h"

namespace assetgen::solid {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180.0;

void addTriangle(Mesh& mesh, const Frame& f, const Vec3 (&p)[3], const Vec3 (&n)[3]) {
    for (int k = 0; k < 3; ++k) mesh.push_back({f.point(p[k]), normalize(f.r * n[k])});
}

Mat3 fromColumns(Vec3 x, Vec3 y, Vec3 z) {
    return {{{x.x, y.x, z.x}, {x.y, y.y, z.y}, {x.z, y.z, z.z}}};
}

}  // namespace

Mat3 rotX(double deg) {
    const double c = std::cos(deg * kRadiansPerDegree), s = std::sin(deg * kRadiansPerDegree);
    return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
}
Mat3 rotY(double deg) {
    const double c = std::cos(deg * kRadiansPerDegree), s = std::sin(deg * kRadiansPerDegree);
    return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}
Mat3 rotZ(double deg) {
    const double c = std::cos(deg * kRadiansPerDegree), s = std::sin(deg * kRadiansPerDegree);
    return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

Frame segment(Vec3 from, Vec3 to, Vec3 zHint) {
    const Vec3 y = normalize(from - to);
    const Vec3 z = normalize(zHint - y * dot(zHint, y));
    return {fromColumns(cross(y, z), y, z), from};
}

Ring boxRing(double halfWidth, double zBack, double zFront) {
    return {{-halfWidth, zBack}, {halfWidth, zBack}, {halfWidth, zFront}, {-halfWidth, zFront}};
}
Ring boxRing(double halfWidth, double halfDepth) {
    return boxRing(halfWidth, -halfDepth, halfDepth);
}
Ring roundRing(double radius, int sides) {
    Ring ring;
    for (int i = 0; i < sides; ++i) {
        const double a = 2.0 * kPi * (i + 0.5) / sides;
        ring.push_back({radius * std::sin(a), radius * std::cos(a)});
    }
    return ring;
}

void loft(Mesh& mesh, const Frame& f, double y0, const Ring& r0, double y1, const Ring& r1,
          bool smooth) {
    const std::size_t n = r0.size();
    const double mid = (y0 + y1) * 0.5;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const Vec3 a{r0[i].x, y0, r0[i].z}, b{r0[j].x, y0, r0[j].z};
        const Vec3 c{r1[j].x, y1, r1[j].z}, d{r1[i].x, y1, r1[i].z};
        Vec3 face = normalize(cross(b - a, d - a));
        const Vec3 centre = (a + b + c + d) * 0.25;
        if (dot(face, centre - Vec3{0.0, mid, 0.0}) < 0.0) face = face * -1.0;
        const Vec3 ni = smooth ? normalize({r0[i].x, 0.0, r0[i].z}) : face;
        const Vec3 nj = smooth ? normalize({r0[j].x, 0.0, r0[j].z}) : face;
        addTriangle(mesh, f, {a, b, c}, {ni, nj, nj});
        addTriangle(mesh, f, {a, c, d}, {ni, nj, ni});
    }
    const double down = y0 < y1 ? -1.0 : 1.0;
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const Vec3 cap0[3] = {
            {r0[0].x, y0, r0[0].z}, {r0[i].x, y0, r0[i].z}, {r0[i + 1].x, y0, r0[i + 1].z}};
        const Vec3 cap1[3] = {
            {r1[0].x, y1, r1[0].z}, {r1[i].x, y1, r1[i].z}, {r1[i + 1].x, y1, r1[i + 1].z}};
        const Vec3 n0{0.0, down, 0.0}, n1{0.0, -down, 0.0};
        addTriangle(mesh, f, cap0, {n0, n0, n0});
        addTriangle(mesh, f, cap1, {n1, n1, n1});
    }
}

void box(Mesh& mesh, const Frame& f, double y0, double y1, const Ring& ring) {
    loft(mesh, f, y0, ring, y1, ring, false);
}

}  // namespace assetgen::solid
