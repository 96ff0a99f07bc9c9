#include "gl_window.h"

#include "render/camera.h"

#include <cmath>

namespace {

TEST(CameraNumbers, DistanceFollowsTheGapAndCentreTheMidpoint) {
    Camera camera;
    EXPECT_EQ(camera.distance, 0.0f);
    camera.updateCamera(-5.0f, 5.0f);
    EXPECT_FLOAT_EQ(camera.distance, 7.2f);
    EXPECT_FLOAT_EQ(camera.centre, 0.0f);
    camera.updateCamera(-1.0f, 5.0f);
    EXPECT_FLOAT_EQ(camera.distance, 4.8f);
    EXPECT_FLOAT_EQ(camera.centre, 2.0f);
    camera.updateCamera(0.0f, 1.0f);  // gap exactly 1: the second rule, which also gives 1.8
    EXPECT_FLOAT_EQ(camera.distance, 1.8f);
    camera.updateCamera(0.0f, 0.999f);
    EXPECT_FLOAT_EQ(camera.distance, 1.8f);
    camera.updateCamera(3.0f, -2.0f);  // crossed fighters
    EXPECT_FLOAT_EQ(camera.distance, 1.8f);
    EXPECT_FLOAT_EQ(camera.centre, 0.5f);
}

class CameraView : public GlWindow {
protected:
    // Where the view sends a world point, as eye coordinates.
    static void eyePoint(float x, float y, float z, float out[3]) {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        for (int i = 0; i < 3; ++i) out[i] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i];
    }
};

TEST_F(CameraView, PlacementTurnsAndPushesBackAndLeavesOneMatrixPushed) {
    Camera camera;
    camera.updateCamera(-1.0f, 5.0f);
    const int before = modelviewDepth();
    camera.placeCamera();
    EXPECT_EQ(modelviewDepth(), before + 1);

    // Turned about y by about 7.9 degrees after shifting by (-1, 0, -4.8), then the look-at
    // from z = 0.6 moves everything another 0.6 away.
    const double turn = 7.9 * M_PI / 180.0;
    float p[3];
    eyePoint(1.0f, 0.0f, 4.8f, p);  // the shift brings this point to the origin
    EXPECT_NEAR(p[0], 0.0f, 1e-4);
    EXPECT_NEAR(p[2], -0.6f, 1e-4);
    eyePoint(2.0f, 0.0f, 4.8f, p);  // one unit along x, turned
    EXPECT_NEAR(p[0], std::cos(turn), 2e-3);
    EXPECT_NEAR(p[2], -0.6 - std::sin(turn), 2e-3);
    glPopMatrix();
    EXPECT_EQ(modelviewDepth(), before);
    eyePoint(0.0f, 0.0f, 0.0f, p);  // what stays is the HUD look-at alone
    EXPECT_NEAR(p[2], -0.6f, 1e-6);
}

TEST_F(CameraView, CameraNeverUpdatedIsPlacedAsAtTheStart) {
    Camera fresh, started;
    started.updateCamera(-5.0f, 5.0f);
    GLfloat a[16], b[16];
    fresh.placeCamera();
    glGetFloatv(GL_MODELVIEW_MATRIX, a);
    glPopMatrix();
    glLoadIdentity();
    started.placeCamera();
    glGetFloatv(GL_MODELVIEW_MATRIX, b);
    glPopMatrix();
    for (int i = 0; i < 16; ++i) {
        EXPECT_FALSE(std::isnan(a[i])) << i;
        EXPECT_FLOAT_EQ(a[i], b[i]) << i;
    }
    EXPECT_FLOAT_EQ(a[14], -7.8f);  // 7.2 back, plus the look-at's 0.6
}

}  // namespace
