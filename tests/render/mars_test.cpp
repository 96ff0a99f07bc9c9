#include "gl_window.h"

#include "render/Mars.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Colour of each count of planes in front, in 255ths.
const int table[11][3] = {{55, 50, 45},   {91, 50, 42},   {127, 50, 39},  {163, 50, 36},
                          {199, 50, 33},  {235, 50, 30},  {238, 72, 46},  {241, 94, 62},
                          {244, 116, 78}, {247, 138, 94}, {250, 160, 110}};

class Planet : public GlWindow {
protected:
    void SetUp() override {
        GlWindow::SetUp();
        std::memcpy(saved, surfaceMarsFractale, sizeof saved);
    }
    void TearDown() override { std::memcpy(surfaceMarsFractale, saved, sizeof saved); }

    static void currentColour(float rgb[3]) {
        GLfloat c[4];
        glGetFloatv(GL_CURRENT_COLOR, c);
        std::copy(c, c + 3, rgb);
    }

    float saved[nbIterationsFractale][3];
};

TEST_F(Planet, EveryCountGivesItsTableColourOnScreen) {
    glDisable(GL_LIGHTING);
    for (int count = 0; count <= nbIterationsFractale; ++count) {
        resetFrame();
        mapColorMars(count);
        float c[3];
        currentColour(c);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(c[i] * 255.0f, table[count][i], 0.51f) << count;
        glTranslatef(0.0f, 0.0f, -1.0f);
        glBegin(GL_QUADS);
        glVertex2f(-0.2f, -0.2f);
        glVertex2f(0.2f, -0.2f);
        glVertex2f(0.2f, 0.2f);
        glVertex2f(-0.2f, 0.2f);
        glEnd();
        const Pixel p = pixel(400, 300);
        EXPECT_NEAR(p.r, table[count][0], 1) << count;
        EXPECT_NEAR(p.g, table[count][1], 1) << count;
        EXPECT_NEAR(p.b, table[count][2], 1) << count;
    }
    glEnable(GL_LIGHTING);
}

TEST_F(Planet, CountsOnlyPlanesStrictlyBehindThePoint) {
    std::memset(surfaceMarsFractale, 0, sizeof surfaceMarsFractale);
    float c[3];
    setColorMars(0.3f, 0.4f, 0.5f);  // no planes yet: the low colour everywhere
    currentColour(c);
    EXPECT_NEAR(c[0] * 255.0f, 55.0f, 0.51f);
    surfaceMarsFractale[0][0] = 1.0f;  // plane with normal x: counts a > 0
    setColorMars(0.5f, 0.0f, 0.0f);
    currentColour(c);
    EXPECT_NEAR(c[0] * 255.0f, 91.0f, 0.51f);
    setColorMars(0.0f, 1.0f, 1.0f);  // exactly on the plane
    currentColour(c);
    EXPECT_NEAR(c[0] * 255.0f, 55.0f, 0.51f);
}

TEST_F(Planet, PlanesAreUnitNormalsAndThePlanetUsesOnlyTableColours) {
    createMars();
    for (const float* plane : surfaceMarsFractale)
        EXPECT_NEAR(std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]),
                    1.0f, 1e-5);
    glDisable(GL_LIGHTING);
    const Feedback f = captureFeedback([] { drawMars(2, 3.0f); });
    glEnable(GL_LIGHTING);
    ASSERT_EQ(f.polygons.size(), 320u);
    int seen[11] = {};
    for (const auto& triangle : f.polygons)
        for (const FeedbackVertex& v : triangle) {
            int match = -1;
            for (int k = 0; k <= nbIterationsFractale; ++k)
                if (std::fabs(v.r * 255.0f - table[k][0]) < 0.6f &&
                    std::fabs(v.g * 255.0f - table[k][1]) < 0.6f &&
                    std::fabs(v.b * 255.0f - table[k][2]) < 0.6f)
                    match = k;
            ASSERT_GE(match, 0) << v.r << " " << v.g << " " << v.b;
            ++seen[match];
        }
    EXPECT_GT(seen[4] + seen[5] + seen[6], 0);  // brick red is the common case
}

}  // namespace
