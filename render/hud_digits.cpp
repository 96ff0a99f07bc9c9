#include "render/hud_digits.h"

#include <GL/gl.h>

#include <string>

#include "render/Moteur3d.h"

namespace {

// Segments a (top) to g (middle), clockwise from the top as usual; bit 0 is a.
enum Segment { A, B, C, D, E, F, G };
const unsigned char digitSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                         0x6D, 0x7D, 0x07, 0x7F, 0x6F};

// A digit is 0.55 of its height wide, its strokes 0.14 of its height thick.
const float widthShare = 0.55f;
const float strokeShare = 0.14f;
const float gapShare = 0.25f;

struct Box {
    float x0, y0, x1, y1;
};

Box segmentBox(int segment, float w, float h, float t) {
    const float m = h / 2;
    switch (segment) {
    case A: return {0, h - t, w, h};
    case B: return {w - t, m, w, h};
    case C: return {w - t, 0, w, m};
    case D: return {0, 0, w, t};
    case E: return {0, 0, t, m};
    case F: return {0, m, t, h};
    default: return {0, m - t / 2, w, m + t / 2};
    }
}

void quad(float x, float y, const Box& b) {
    const float x0 = (x + b.x0) * hudScaleX, x1 = (x + b.x1) * hudScaleX;
    const float y0 = (y + b.y0) * hudScaleY, y1 = (y + b.y1) * hudScaleY;
    glVertex3f(x0, y0, hudDepth);
    glVertex3f(x1, y0, hudDepth);
    glVertex3f(x1, y1, hudDepth);
    glVertex3f(x0, y1, hudDepth);
}

}  // namespace

void drawHudNumber(int value, float x, float y, float height) {
    const std::string digits = std::to_string(value > 0 ? value : 0);
    const float w = height * widthShare, t = height * strokeShare;
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (char c : digits) {
        const unsigned char lit = digitSegments[c - '0'];
        for (int s = A; s <= G; ++s)
            if (lit & (1u << s)) quad(x, y, segmentBox(s, w, height, t));
        x += w * (1.0f + gapShare);
    }
    glEnd();
}
