#include "render/lensflare.h"

#include "render/Moteur3d.h"

#include <GL/gl.h>

namespace {

struct FlareQuad {
    float from, to, z;  // the square spans from..to on both x and y
};

const FlareQuad sun = {0.0f, 4.0f, -30.0f};
const FlareQuad cross = {-2.0f, 6.0f, -30.0f};
const FlareQuad blueHalo = {1.0f, 2.2f, -25.0f};
const FlareQuad redHalo = {0.7f, 1.8f, -20.0f};

void drawQuad(const FlareQuad& q) {
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(q.from, q.from, q.z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(q.from, q.to, q.z);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(q.to, q.to, q.z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(q.to, q.from, q.z);
    glEnd();
}

void turnWith(float angle) {
    glRotatef(angle, 0.0f, 1.0f, 0.0f);
    glRotatef(50.0f, 0.0f, 0.0f, 1.0f);
}

void drawHalo(float angle, const FlareQuad& q, float red, float blue) {
    glPushMatrix();
    turnWith(angle);
    glBindTexture(GL_TEXTURE_2D, textureId3);
    glColor4f(red, 0.5f, blue, 0.8f);
    drawQuad(q);
    glPopMatrix();
}

}  // namespace

unsigned int textureId1;
unsigned int textureId2;
unsigned int textureId3;

void initLensFlare() {
    textureId1 = loadTextureBMP("sun.bmp", blackPlaceholder);
    textureId2 = loadTextureBMP("croix.bmp", blackPlaceholder);
    textureId3 = loadTextureBMP("halo.bmp", blackPlaceholder);
}

void drawLensFlare(float angle) {
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glRotatef(-40.0f, 0.0f, 0.0f, 1.0f);
    glBlendFunc(GL_ONE, GL_ONE);

    glPushMatrix();
    turnWith(angle);
    glBindTexture(GL_TEXTURE_2D, textureId1);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawQuad(sun);
    glBindTexture(GL_TEXTURE_2D, textureId2);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawQuad(cross);
    glPopMatrix();

    drawHalo(angle, blueHalo, 0.5f, 1.0f);
    drawHalo(angle, redHalo, 1.0f, 0.5f);

    glPopMatrix();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
}
