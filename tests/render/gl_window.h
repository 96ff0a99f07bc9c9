#pragma once
// One real game window per test process (the renderer's own init, with the sound on the
// dummy driver), and helpers to read back what a drawing call produced.
#include "render/Moteur3d.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <vector>

struct Pixel {
    int r, g, b;
};

// Brings the window up on first use (working directory: the generated data) and clears it.
class GlWindow : public ::testing::Test {
public:
    static Moteur3d& engine();

protected:
    void SetUp() override;

public:
    // The fixed projection with an identity model-view, cleared to `clear`.
    static void resetFrame(float r = 0.0f, float g = 0.0f, float b = 0.0f);
    // The camera's HUD view: the look-at that stays after the camera's own matrix is popped.
    static void hudFrame();
    static Pixel pixel(int x, int y);           // window coordinates, y up
    static std::vector<unsigned char> frame();  // all 800 x 600 RGB pixels, bottom row first
    // Window position of an object point under the current matrices.
    static void project(float x, float y, float z, double& wx, double& wy);
    // A 4 x 4 texture of one colour, sampled without mipmaps.
    static unsigned int solidTexture(unsigned char r, unsigned char g, unsigned char b);
    static int modelviewDepth();
};

// Vertices caught in feedback mode: window x, y, z, colour and texture coordinate.
struct FeedbackVertex {
    float x, y, z, r, g, b, a, s, t;
};
struct Feedback {
    std::vector<std::vector<FeedbackVertex>> polygons;  // one entry per triangle or quad
    std::vector<std::vector<FeedbackVertex>> lines;
};

// Runs `draw` in feedback mode under an orthographic view of -10..10 on every axis, in
// which window coordinates map back to object coordinates with toObject().
template <typename Draw>
Feedback captureFeedback(Draw draw);
Feedback parseFeedback(const std::vector<GLfloat>& buffer, GLint used);
void toObject(const FeedbackVertex& v, float& x, float& y, float& z);
void beginOrthoCapture(std::vector<GLfloat>& buffer);
GLint endOrthoCapture();

template <typename Draw>
Feedback captureFeedback(Draw draw) {
    std::vector<GLfloat> buffer;
    beginOrthoCapture(buffer);
    draw();
    const GLint used = endOrthoCapture();
    return parseFeedback(buffer, used);
}
