#include "gl_window.h"

#include "render/camera.h"
#include "render/lensflare.h"

#include <cmath>

namespace {

class Flare : public GlWindow {
protected:
    void SetUp() override {
        GlWindow::SetUp();
        static const unsigned int grey = solidTexture(64, 64, 64);
        textureId1 = textureId2 = textureId3 = grey;
        camera.updateCamera(-5.0f, 5.0f);
    }

    // Window pixel of a point in the flare's own frame, for the given angle.
    static Pixel flarePixel(float angle, float x, float y, float z) {
        glPushMatrix();
        glRotatef(-40.0f, 0.0f, 0.0f, 1.0f);
        glRotatef(angle, 0.0f, 1.0f, 0.0f);
        glRotatef(50.0f, 0.0f, 0.0f, 1.0f);
        double wx, wy;
        project(x, y, z, wx, wy);
        glPopMatrix();
        return pixel(static_cast<int>(wx), static_cast<int>(wy));
    }

    Camera camera;
};

TEST_F(Flare, QuadsAddOntoTheFrameAndBlendingIsRestored) {
    resetFrame(0.25f, 0.25f, 0.25f);
    camera.placeCamera();
    glDisable(GL_LIGHTING);  // exact texel values
    glBlendFunc(GL_ONE, GL_ZERO);
    const int depth = modelviewDepth();
    drawLensFlare(0.0f);
    EXPECT_EQ(modelviewDepth(), depth);
    GLint src, dst;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glEnable(GL_LIGHTING);

    // Background 64 and every texel 64. The cross alone adds 64 once (replacing or
    // alpha-blending would leave 64). The cross lies in the sun's plane, so the depth test
    // keeps it off the sun; but both halos, nearer, add their tinted texels onto the sun.
    const Pixel crossOnly = flarePixel(0.0f, 5.5f, 5.5f, -30.0f);
    EXPECT_NEAR(crossOnly.r, 128, 2);
    const Pixel sunAndCross = flarePixel(0.0f, 3.5f, 3.5f, -30.0f);
    EXPECT_NEAR(sunAndCross.g, 128, 2);
    const Pixel underHalos = flarePixel(0.0f, 1.25f, 1.25f, -20.0f);
    EXPECT_NEAR(underHalos.r, 64 + 64 + 32 + 64, 3);
    EXPECT_NEAR(underHalos.g, 64 + 64 + 32 + 32, 3);
    EXPECT_NEAR(underHalos.b, 64 + 64 + 64 + 32, 3);
    const Pixel outside = flarePixel(0.0f, 6.5f, 6.5f, -30.0f);
    EXPECT_NEAR(outside.b, 64, 1);
    glPopMatrix();
}

TEST_F(Flare, TurnedHalfwayTheFlareIsBehindTheStartingEye) {
    camera.placeCamera();
    drawLensFlare(180.0f);
    glPopMatrix();
    const std::vector<unsigned char> rgb = frame();
    int lit = 0;
    for (unsigned char c : rgb) lit += c != 0;
    EXPECT_EQ(lit, 0);
}

}  // namespace
