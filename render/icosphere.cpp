#include "render/icosphere.h"

#include <GL/gl.h>

#include <cmath>

namespace {

const float X = 0.525731112119133606f;
const float Z = 0.850650808352039932f;

void midpoint(const float a[3], const float b[3], float m[3]) {
    for (int i = 0; i < 3; ++i) m[i] = (a[i] + b[i]) / 2.0f;
    normalize(m);
}

}  // namespace

const float vdata[12][3] = {
    {-X, 0.0f, Z}, {X, 0.0f, Z},   {-X, 0.0f, -Z}, {X, 0.0f, -Z}, {0.0f, Z, X},  {0.0f, Z, -X},
    {0.0f, -Z, X}, {0.0f, -Z, -X}, {Z, X, 0.0f},   {-Z, X, 0.0f}, {Z, -X, 0.0f}, {-Z, -X, 0.0f},
};

const int tindices[20][3] = {
    {0, 4, 1}, {0, 9, 4},  {9, 5, 4},  {4, 5, 8},  {4, 8, 1},  {8, 10, 1}, {8, 3, 10},
    {5, 3, 8}, {5, 2, 3},  {2, 7, 3},  {7, 10, 3}, {7, 6, 10}, {7, 11, 6}, {11, 0, 6},
    {0, 1, 6}, {6, 1, 10}, {9, 0, 11}, {9, 11, 2}, {9, 2, 5},  {7, 2, 11},
};

void normalize(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int i = 0; i < 3; ++i) v[i] /= length;
}

void subdivide(const float p1[3], const float p2[3], const float p3[3], int depth, float radius,
               CornerEmitter emit) {
    if (depth <= 0) {
        emit(p1, radius);
        emit(p2, radius);
        emit(p3, radius);
        return;
    }
    float m12[3], m13[3], m23[3];
    midpoint(p1, p2, m12);
    midpoint(p1, p3, m13);
    midpoint(p2, p3, m23);
    subdivide(p1, m12, m13, depth - 1, radius, emit);
    subdivide(p2, m23, m12, depth - 1, radius, emit);
    subdivide(p3, m13, m23, depth - 1, radius, emit);
    subdivide(m12, m23, m13, depth - 1, radius, emit);
}

void drawIcosphere(int depth, float radius, CornerEmitter emit) {
    glBegin(GL_TRIANGLES);
    for (const int* face : tindices)
        subdivide(vdata[face[0]], vdata[face[1]], vdata[face[2]], depth, radius, emit);
    glEnd();
}
