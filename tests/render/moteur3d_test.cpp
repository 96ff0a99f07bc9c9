#include "gl_window.h"

#include <SDL/SDL.h>

#include <cmath>
#include <cstdlib>

namespace {

typedef std::vector<std::vector<float>> Entries;

bool near(Pixel p, int r, int g, int b, int tolerance = 3) {
    return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance &&
           std::abs(p.b - b) <= tolerance;
}

bool black(Pixel p) { return near(p, 0, 0, 0, 0); }

class Moteur3dTest : public GlWindow {
protected:
    void SetUp() override {
        GlWindow::SetUp();
        if (!textures[0]) {
            const unsigned char colours[nbHudTextures][3] = {
                {255, 0, 0},   {0, 255, 0},   {0, 0, 255},  {255, 255, 0},  {0, 255, 255},
                {255, 0, 255}, {128, 0, 0},   {0, 128, 0},  {0, 0, 128},    {128, 128, 0},
                {0, 128, 128}, {128, 0, 128}, {64, 64, 64}, {192, 192, 192}};
            for (int i = 0; i < nbHudTextures; ++i)
                textures[i] = solidTexture(colours[i][0], colours[i][1], colours[i][2]);
        }
        hudFrame();
    }

    // Pixel at a HUD-frame point given in OpenGL units (already scaled).
    static Pixel at(float x, float y) {
        double wx, wy;
        project(x, y, hudDepth, wx, wy);
        return pixel(static_cast<int>(wx), static_cast<int>(wy));
    }

    static unsigned int textures[nbHudTextures];
    // The first solid colour of the table above.
    static constexpr int kRed = 0;
};

unsigned int Moteur3dTest::textures[nbHudTextures];

TEST_F(Moteur3dTest, InitLeavesTheFixedStateAndCaption) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_BLEND})
        EXPECT_TRUE(glIsEnabled(cap)) << cap;
    GLint src, dst;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Vorlaxis");
    // The eye of the fixed projection sits at z = 5: the origin lands 5 units in front.
    glLoadIdentity();
    double wx, wy;
    project(0.0f, 0.0f, 0.0f, wx, wy);
    EXPECT_NEAR(wx, 400.0, 0.01);
    EXPECT_NEAR(wy, 300.0, 0.01);
}

TEST_F(Moteur3dTest, SetLightPlacesTheLightThroughTheCurrentView) {
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -7.0f);
    engine().setLight();
    GLfloat position[4], diffuse[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(position[0], 1.0f);
    EXPECT_FLOAT_EQ(position[1], 2.0f);
    EXPECT_FLOAT_EQ(position[2], -6.0f);
    EXPECT_FLOAT_EQ(position[3], 1.0f);
    for (GLfloat d : diffuse) EXPECT_FLOAT_EQ(d, 1.0f);
}

TEST_F(Moteur3dTest, PlaceJoueurKeepsReachAndTurnsAndTintsEachFighter) {
    GLfloat m[16], colour[4];
    glLoadIdentity();
    EXPECT_FLOAT_EQ(engine().placeJoueur(1, -5.0f, 5.0f, 3.0f), 2.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], 2.0f, 1e-6);
    EXPECT_NEAR(m[2], -1.0f, 1e-6);  // +90 degrees about y sends x to -z
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.4f);
    EXPECT_FLOAT_EQ(colour[2], 1.0f);

    glLoadIdentity();
    EXPECT_FLOAT_EQ(engine().placeJoueur(1, -5.0f, 5.0f, 12.0f), -5.0f);
    glLoadIdentity();
    EXPECT_FLOAT_EQ(engine().placeJoueur(2, -5.0f, 5.0f, 3.0f), -2.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], -2.0f, 1e-6);
    EXPECT_NEAR(m[2], 1.0f, 1e-6);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[2], 0.4f);
    // Crossed fighters: the gap is negative, so each is drawn past its opponent's x.
    glLoadIdentity();
    EXPECT_FLOAT_EQ(engine().placeJoueur(2, 1.0f, -1.0f, 30.0f), -1.0f);
}

TEST_F(Moteur3dTest, ModelCornersAreTruncatedNumbersAtAQuarterSize) {
    Model model(4);
    model[VERTICES] = {{4, 0, 0}, {0, 4, 0}, {0, 0, 4}, {8, 8, 8}};
    model[NORMALS] = {{0, 0, 1}};
    model[POLYGONS] = {{1, 1, 1, 2, 1, 1, 3.9, 1, 1}};
    glDisable(GL_LIGHTING);
    Feedback f = captureFeedback([&] { engine().draw(model); });
    ASSERT_EQ(f.polygons.size(), 1u);
    const float want[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int c = 0; c < 3; ++c) {
        float x, y, z;
        toObject(f.polygons[0][c], x, y, z);
        EXPECT_NEAR(x, want[c][0], 1e-3);
        EXPECT_NEAR(y, want[c][1], 1e-3);
        EXPECT_NEAR(z, want[c][2], 1e-3);
    }

    // Numbers outside the lists, short entries and missing lists draw nothing.
    model[POLYGONS] = {{1, 1, 1, 2, 1, 1, 5, 1, 1},
                       {1, 1, 2, 2, 1, 1, 3, 1, 1},
                       {0, 1, 1, 2, 1, 1, 3, 1, 1},
                       {1e300, 1, 1, 2, 1, 1, 3, 1, 1},
                       {std::nan(""), 1, 1, 2, 1, 1, 3, 1, 1},
                       {1, 1, 1, 2, 1, 1}};
    EXPECT_TRUE(captureFeedback([&] { engine().draw(model); }).polygons.empty());
    EXPECT_TRUE(captureFeedback([&] { engine().draw(Model()); }).polygons.empty());
    glEnable(GL_LIGHTING);
}

TEST_F(Moteur3dTest, ParticlesAreShortLinesTintedBySide) {
    const Entries particles = {{0, 0.5f, 1, 2, 3, 100, 0, -100, 1.0f},
                               {0, 1.0f, 0, 0, 0, 0, 200, 0, 0.0f},
                               {0, 1.0f, 0, 0}};
    glDisable(GL_LIGHTING);
    Feedback f = captureFeedback([&] { engine().draw(particles); });
    glEnable(GL_LIGHTING);
    ASSERT_EQ(f.lines.size(), 2u);
    float x, y, z;
    toObject(f.lines[0][0], x, y, z);
    EXPECT_NEAR(x, 1.0f, 1e-3);
    EXPECT_NEAR(z, 3.0f, 1e-3);
    toObject(f.lines[0][1], x, y, z);
    EXPECT_NEAR(x, 2.0f, 1e-3);
    EXPECT_NEAR(z, 2.0f, 1e-3);
    EXPECT_NEAR(f.lines[0][0].r, 0.4f, 1e-3);
    EXPECT_NEAR(f.lines[0][0].b, 1.0f, 1e-3);
    EXPECT_NEAR(f.lines[0][0].a, 0.5f, 1e-3);
    toObject(f.lines[1][1], x, y, z);
    EXPECT_NEAR(y, 2.0f, 1e-3);
    EXPECT_NEAR(f.lines[1][0].r, 1.0f, 1e-3);
    EXPECT_NEAR(f.lines[1][0].b, 0.4f, 1e-3);
    EXPECT_TRUE(captureFeedback([&] { engine().draw(Entries()); }).lines.empty());
}

TEST_F(Moteur3dTest, LifeBarsRunFromRedAndStayEmptyAtOrBelowZero) {
    engine().displayLife(-20.0f, 100.0f);
    const float row = 1.17f;
    EXPECT_TRUE(black(at(-1.65f, row)));  // fighter 1: no bar at all
    EXPECT_TRUE(black(at(-1.0f, row)));
    EXPECT_TRUE(near(at(0.71f, row), 255, 0, 0, 6));
    EXPECT_TRUE(near(at(1.69f, row), 0, 255, 0, 6));
    EXPECT_TRUE(black(at(1.72f, row)));
    EXPECT_TRUE(black(at(0.68f, row)));
    EXPECT_TRUE(black(at(1.2f, 1.10f)));  // below the bar
    EXPECT_TRUE(black(at(1.2f, 1.23f)));  // above it
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(Moteur3dTest, LifeAboveFullRunsLongerWithItsEndColourClamped) {
    engine().displayLife(150.0f, 50.0f);
    const float row = 1.17f;
    EXPECT_FALSE(black(at(-0.22f, row)));
    EXPECT_TRUE(black(at(-0.17f, row)));
    EXPECT_TRUE(near(at(-0.21f, row), 0, 255, 0, 6));
    // The end colour (-0.5, 1.5, 0) is clamped to green before shading, so half-way along
    // the bar is an even red-green mix.
    EXPECT_TRUE(near(at(-0.95f, row), 128, 128, 0, 6));
    // Fighter 2 at half life: 0.7 to 1.2, ending in an even mix.
    EXPECT_FALSE(black(at(1.18f, row)));
    EXPECT_TRUE(black(at(1.23f, row)));
    EXPECT_TRUE(near(at(1.19f, row), 128, 128, 0, 8));
}

TEST_F(Moteur3dTest, MatchesWonShowATileThenSevenSegmentDigitsUnderEachBar) {
    engine().displayWins(18, 1, textures, animation::kWin);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    // In HUD units a digit is 0.09 tall and 0.0495 wide, strokes 0.0126 thick, 0.062 apart;
    // player 1's tile spans x -0.85..-0.65, its digits start at -0.62; player 2's at 0.58.
    const auto hud = [](float x, float y) { return at(x * hudScaleX, y * hudScaleY); };
    const float middle = 0.58f + 0.045f, upper = 0.58f + 0.07f;
    EXPECT_TRUE(near(hud(-0.75f, middle), 128, 0, 128)) << "player 1's tile";
    EXPECT_TRUE(near(hud(0.45f, middle), 128, 0, 128)) << "player 2's tile";
    const auto gold = [](Pixel p) { return near(p, 255, 217, 51, 6); };
    // "1": only the right strokes; "8": the middle stroke too.
    EXPECT_TRUE(gold(hud(-0.62f + 0.043f, upper)));
    EXPECT_TRUE(black(hud(-0.62f + 0.02f, middle)));
    EXPECT_TRUE(gold(hud(-0.62f + 0.062f + 0.025f, middle)));
    EXPECT_TRUE(gold(hud(-0.62f + 0.062f + 0.006f, upper)));
    EXPECT_TRUE(gold(hud(0.58f + 0.043f, upper)));
    EXPECT_TRUE(black(hud(0.58f + 0.02f, middle)));
    EXPECT_TRUE(black(hud(0.58f + 0.062f + 0.025f, middle))) << "a second digit of 1";
}

TEST_F(Moteur3dTest, HudQuadCoversItsScaledRectangleAndRestoresState) {
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    engine().draw(textures, kRed, -0.5f, -0.5f, 0.5f, 0.25f, 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    // HUD (-0.5, -0.5) + (0.5, 0.25) is x -1.0..0.0 and y -0.75..-0.375 once scaled.
    EXPECT_TRUE(near(at(-0.98f, -0.74f), 255, 0, 0));
    EXPECT_TRUE(near(at(-0.02f, -0.39f), 255, 0, 0));
    EXPECT_TRUE(black(at(-1.02f, -0.6f)));
    EXPECT_TRUE(black(at(0.02f, -0.6f)));
    EXPECT_TRUE(black(at(-0.5f, -0.77f)));
    EXPECT_TRUE(black(at(-0.5f, -0.35f)));
}

TEST_F(Moteur3dTest, TransparentOrUnknownQuadsLeaveTheScreenAlone) {
    engine().draw(textures, kRed, -0.5f, -0.5f, 1.0f, 1.0f, 0.0f);
    engine().draw(textures, nbHudTextures, -0.5f, -0.5f, 1.0f, 1.0f, 1.0f);
    engine().draw(textures, -1, -0.5f, -0.5f, 1.0f, 1.0f, 1.0f);
    engine().draw(nullptr, 0, -0.5f, -0.5f, 1.0f, 1.0f, 1.0f);
    const Entries badStages = {
        {0, 1, float(nbHudTextures)}, {0, 1, -1.0f}, {0, 1, std::nanf("")}, {0, 1}};
    engine().draw(badStages, animation::kBannerTower, textures);
    EXPECT_TRUE(black(at(0.0f, 0.0f)));
    EXPECT_TRUE(black(at(-0.9f, -0.7f)));
}

TEST_F(Moteur3dTest, TowerColumnsStackTheNewestOnTop) {
    // Oldest first: red, green, blue; the newest (blue) heads the column at y = 0.2.
    const Entries stages = {{0, 1, 0.0f}, {0, 1, 1.0f}, {0, 1, 2.9f}};
    engine().draw(stages, animation::kSignTower1, textures);
    const float x = (-0.98f + 0.09f) * hudScaleX;
    EXPECT_TRUE(near(at(x, 0.2f * hudScaleY + 0.02f), 0, 0, 255));
    EXPECT_TRUE(near(at(x, 0.0f * hudScaleY + 0.02f), 0, 255, 0));
    EXPECT_TRUE(near(at(x, -0.2f * hudScaleY + 0.02f), 255, 0, 0));
    EXPECT_TRUE(black(at(x, -0.2f * hudScaleY - 0.02f)));
    EXPECT_TRUE(black(at(x, 0.38f * hudScaleY + 0.02f)));

    engine().draw(stages, animation::kWinTower2, textures);  // low, short icons at the right
    const float x4 = (0.6f + 0.09f) * hudScaleX;
    EXPECT_TRUE(near(at(x4, -0.4f * hudScaleY + 0.02f), 0, 0, 255));
    EXPECT_TRUE(near(at(x4, -0.6f * hudScaleY + 0.02f), 255, 0, 0));
    EXPECT_TRUE(black(at(x4, -0.6f * hudScaleY - 0.02f)));
}

TEST_F(Moteur3dTest, BannerTowerKeepsTheNewestStageInFront) {
    const Entries stages = {{0, 1, 0.0f}, {0, 1, 1.0f}};  // red, then the newer green
    engine().draw(stages, animation::kBannerTower, textures);
    EXPECT_TRUE(near(at(0.0f, -0.9f * hudScaleY + 0.1f), 0, 255, 0));
    EXPECT_TRUE(near(at(-0.98f, -1.06f), 0, 255, 0));
    EXPECT_TRUE(black(at(0.0f, -0.9f * hudScaleY - 0.02f)));
}

TEST(Moteur3dInit, NoOpenGLVideoModeEndsWithTheVideoMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            Moteur3d moteur;
            moteur.init();
        },
        ::testing::ExitedWithCode(1), "Unable to set video mode: .+");
}

}  // namespace
