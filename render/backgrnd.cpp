#include "render/backgrnd.h"

#include "render/Mars.h"
#include "render/Moteur3d.h"
#include "render/icosphere.h"
#include "render/lensflare.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

namespace {

const double pi = 3.14159265;
// The planet turns by half the Earth's angle, so this is the first period after which
// every rotation driven by the angle is back where it started.
const float anglePeriod = 720.0f;

void sphereCorner(const float p[3], float radius) {
    glNormal3fv(p);
    placeTexture(p[1], p[2], p[0]);
    glVertex3f(p[0] * radius, p[1] * radius, p[2] * radius);
}

void drawEarth() {
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureId);
    drawsphere(3, 4.0f);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 1.0f, 0.4f);
    drawsphere(3, 4.4f);
    glColor4f(0.0f, 0.0f, 1.0f, 0.2f);
    drawsphere(3, 4.8f);
    glPopMatrix();
}

void drawPlanet() {
    glPushMatrix();
    glTranslatef(-6.0f, 6.0f, 30.0f);
    glRotatef(angleRotationEarth / -2.0f, -2.0f, 1.0f, 1.0f);
    drawMars(3, 3.0f);
    glPopMatrix();
}

void drawStars() {
    glPointSize(2.0f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_POINTS);
    for (const float* star : stars) {
        glColor3f(star[3], star[4], star[5]);
        glVertex3f(star[0], star[1], star[2]);
    }
    glEnd();
}

}  // namespace

float stars[nbStars][6];
unsigned int textureId;
float angleRotationEarth = 90.0f;

void placeTexture(float y, float z, float x) {
    double s;
    if (y == 0.0f) {
        s = x > 0.0f ? 0.75 : 0.25;
    } else {
        const double a = std::atan(static_cast<double>(x) / y) / -6.2831853;
        if (y < 0.0f)
            s = a + 0.5;
        else if (x > 0.0f)
            s = a + 1.0;
        else
            s = a;
    }
    // A unit vector rounded to floats can reach just past 1, where asin has no value.
    const double height = std::fmax(-1.0, std::fmin(1.0, static_cast<double>(z)));
    const double t = std::asin(height) / pi + 0.5;
    glTexCoord2f(static_cast<float>(s), static_cast<float>(t));
}

void drawtri(const float p1[3], const float p2[3], const float p3[3], int depth, float radius) {
    subdivide(p1, p2, p3, depth, radius, sphereCorner);
}

void drawsphere(int depth, float radius) { drawIcosphere(depth, radius, sphereCorner); }

void createStars() {
    for (float* star : stars) {
        const float longitude = static_cast<float>((std::rand() % 10000) / 9999.0 * 2.0 * pi);
        const float latitude =
            static_cast<float>((std::rand() % 10000) / 9999.0 * pi - 1.570796325);
        const float red = static_cast<float>((std::rand() % 1000) / 999.0 * 0.5 + 0.5);
        const float blue = static_cast<float>((std::rand() % 1000) / 999.0 * 0.5 + 0.5);
        const double across = std::cos(static_cast<double>(latitude));
        star[0] =
            static_cast<float>(std::cos(static_cast<double>(longitude)) * across * distanceStars);
        star[1] =
            static_cast<float>(std::sin(static_cast<double>(longitude)) * across * distanceStars);
        star[2] = static_cast<float>(std::sin(static_cast<double>(latitude)) * distanceStars);
        star[3] = red;
        star[4] = 0.3f;
        star[5] = blue;
    }
}

void createBackground() {
    createStars();
    angleRotationEarth = 90.0f;
    textureId = loadTextureBMP("earthmap1k.bmp");
    createMars();
    initLensFlare();
}

void reloadBackgroundTextures() {
    glDeleteTextures(1, &textureId);
    textureId = loadTextureBMP("earthmap1k.bmp");
    const GLuint flares[] = {textureId1, textureId2, textureId3};
    glDeleteTextures(3, flares);
    initLensFlare();
}

void drawBackground() {
    drawLensFlare(angleRotationEarth);
    glColor3f(1.0f, 1.0f, 1.0f);
    glTranslatef(-4.0f, -4.0f, -6.0f);
    glRotatef(-40.0f, 0.0f, 0.0f, 1.0f);
    angleRotationEarth = std::fmod(angleRotationEarth + 1.0f, anglePeriod);
    glRotatef(angleRotationEarth, 0.0f, 1.0f, 0.0f);
    drawEarth();
    drawPlanet();
    drawStars();
}
