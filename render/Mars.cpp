#include "render/Mars.h"

#include "render/icosphere.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

namespace {

const double pi = 3.14159265;
const float low[3] = {55.0f, 50.0f, 45.0f};
const float middle[3] = {235.0f, 50.0f, 30.0f};
const float high[3] = {250.0f, 160.0f, 110.0f};

void marsCorner(const float p[3], float radius) {
    glNormal3fv(p);
    setColorMars(p[1], p[2], p[0]);
    glVertex3f(p[0] * radius, p[1] * radius, p[2] * radius);
}

}  // namespace

float surfaceMarsFractale[nbIterationsFractale][3];

void createMars() {
    for (float* plane : surfaceMarsFractale) {
        const float longitude = static_cast<float>(2.0 * (std::rand() % 10000) * pi / 9999.0);
        const float latitude =
            static_cast<float>((std::rand() % 10000) * pi / 9999.0 - 1.570796325);
        plane[0] = std::cos(longitude) * std::cos(latitude);
        plane[1] = std::sin(longitude) * std::cos(latitude);
        plane[2] = std::sin(latitude);
    }
}

void setColorMars(float a, float b, float c) {
    int count = 0;
    for (const float* plane : surfaceMarsFractale)
        if (plane[0] * a + plane[1] * b + plane[2] * c > 0.0f) ++count;
    mapColorMars(count);
}

void mapColorMars(int count) {
    const float f = static_cast<float>(count) / nbIterationsFractale;
    const float* other = low;
    float t = f / 0.5f;
    if (f >= 0.5f) {
        other = high;
        t = (1.0f - f) / (1.0f - 0.5f);
    }
    float colour[3];
    for (int i = 0; i < 3; ++i) colour[i] = (t * middle[i] + (1.0f - t) * other[i]) / 255.0f;
    glColor3f(colour[0], colour[1], colour[2]);
}

void drawtriMars(const float p1[3], const float p2[3], const float p3[3], int depth, float radius) {
    subdivide(p1, p2, p3, depth, radius, marsCorner);
}

void drawMars(int depth, float radius) { drawIcosphere(depth, radius, marsCorner); }
