#include "gl_window.h"

#include "render/Mars.h"
#include "render/backgrnd.h"
#include "render/camera.h"
#include "tests/support/scratch_folder.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

// Run as a child with VORLAXIS_STAR_DUMP set, the program only writes the star field made
// from the fresh process's unseeded generator and leaves.
std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const bool starDumpChild = [] {
    const char* path = std::getenv("VORLAXIS_STAR_DUMP");
    if (!path) return false;
    createStars();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(stars), sizeof stars);
    std::_Exit(0);
}();

std::string starsOfAFreshRun(const std::string& path) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "";
    self[n] = '\0';
    if (std::system(("VORLAXIS_STAR_DUMP=" + path + " '" + self + "'").c_str()) != 0) return "";
    return readFile(path);
}

TEST(StarField, TwoRunsMakeTheSameSkyFromTheDefaultSeed) {
    const std::string base = testsupport::scratchPath("stars", "");
    const std::string first = starsOfAFreshRun(base + "-a");
    const std::string second = starsOfAFreshRun(base + "-b");
    std::remove((base + "-a").c_str());
    std::remove((base + "-b").c_str());
    ASSERT_EQ(first.size(), sizeof stars);
    EXPECT_EQ(first, second);
    // An unseeded generator runs as if seeded with 1.
    std::srand(1);
    createStars();
    EXPECT_EQ(first, std::string(reinterpret_cast<const char*>(stars), sizeof stars));
    for (const float* star : stars) {
        EXPECT_NEAR(std::sqrt(star[0] * star[0] + star[1] * star[1] + star[2] * star[2]),
                    distanceStars, 1e-3);
        EXPECT_FLOAT_EQ(star[4], 0.3f);
        EXPECT_TRUE(star[3] >= 0.5f && star[3] <= 1.0f && star[5] >= 0.5f && star[5] <= 1.0f);
    }
}

float radiusOf(const FeedbackVertex& v) {
    float x, y, z;
    toObject(v, x, y, z);
    return std::sqrt(x * x + y * y + z * z);
}

class Backdrop : public GlWindow {};

TEST_F(Backdrop, SpheresHoldTwentyTimesFourToTheDepthTrianglesOnTheirRadius) {
    EXPECT_EQ(captureFeedback([] { drawsphere(0, 2.5f); }).polygons.size(), 20u);
    const Feedback f = captureFeedback([] { drawsphere(3, 4.0f); });
    ASSERT_EQ(f.polygons.size(), 1280u);
    for (const auto& triangle : f.polygons) {
        ASSERT_EQ(triangle.size(), 3u);
        for (const FeedbackVertex& v : triangle) {
            ASSERT_NEAR(radiusOf(v), 4.0f, 2e-3);
            ASSERT_TRUE(v.s >= 0.0f && v.s <= 1.0f && v.t >= -1e-6f && v.t <= 1.0f + 1e-6f)
                << v.s << " " << v.t;
        }
    }
    // The planet uses the same subdivision, corner for corner.
    const Feedback planet = captureFeedback([] { drawMars(3, 4.0f); });
    ASSERT_EQ(planet.polygons.size(), 1280u);
    for (std::size_t i = 0; i < f.polygons.size(); ++i)
        for (int c = 0; c < 3; ++c) {
            EXPECT_FLOAT_EQ(planet.polygons[i][c].x, f.polygons[i][c].x);
            EXPECT_FLOAT_EQ(planet.polygons[i][c].y, f.polygons[i][c].y);
        }
}

void expectTexCoord(float y, float z, float x, float s, float t) {
    placeTexture(y, z, x);
    GLfloat coords[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coords);
    EXPECT_NEAR(coords[0], s, 1e-6) << y << " " << z << " " << x;
    EXPECT_NEAR(coords[1], t, 1e-6) << y << " " << z << " " << x;
}

TEST_F(Backdrop, TextureCoordinatesGoRoundFromPlusYTowardsMinusX) {
    expectTexCoord(0, 1, 0, 0.25f, 1.0f);   // pole
    expectTexCoord(0, -1, 0, 0.25f, 0.0f);  // other pole
    expectTexCoord(0, 0, 1, 0.75f, 0.5f);   // (1, 0, 0)
    expectTexCoord(-1, 0, 0, 0.5f, 0.5f);   // (0, -1, 0)
    expectTexCoord(1, 0, -1e-6f, 0.0f, 0.5f);
    expectTexCoord(1, 0, 1e-6f, 1.0f, 0.5f);        // just across the seam
    expectTexCoord(0, 1.0000001f, 0, 0.25f, 1.0f);  // rounding past the pole is no NaN
}

TEST_F(Backdrop, EarthAngleStepsOncePerFrameAndWrapsAt720) {
    createBackground();
    EXPECT_FLOAT_EQ(angleRotationEarth, 90.0f);
    for (int i = 0; i < 3; ++i) {
        glLoadIdentity();
        drawBackground();
    }
    EXPECT_FLOAT_EQ(angleRotationEarth, 93.0f);
    angleRotationEarth = 719.0f;
    glLoadIdentity();
    drawBackground();
    EXPECT_FLOAT_EQ(angleRotationEarth, 0.0f);
}

void savePpm(const char* path, const std::vector<unsigned char>& rgb) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n800 600\n255\n";
    for (int y = 599; y >= 0; --y)
        out.write(reinterpret_cast<const char*>(&rgb[y * 800 * 3]), 800 * 3);
}

// One frame as the scene draws it, from the starting camera, with the Earth turned to
// `angle` (the flare one degree behind); saved when VORLAXIS_RENDER_SHOT names a prefix.
std::vector<unsigned char> backdropFrame(Moteur3d& engine, float angle, const char* name) {
    Camera camera;
    camera.updateCamera(-5.0f, 5.0f);
    camera.placeCamera();
    glPushMatrix();
    engine.setLight();
    angleRotationEarth = angle - 1.0f;
    drawBackground();
    glPopMatrix();
    glPopMatrix();
    std::vector<unsigned char> rgb = GlWindow::frame();
    if (const char* shot = std::getenv("VORLAXIS_RENDER_SHOT"))
        savePpm((std::string(shot) + name + ".ppm").c_str(), rgb);
    return rgb;
}

// Window position of a point in the Earth's turning frame at `angle`, from the start camera.
void earthFramePoint(float angle, float x, float y, float z, int& wx, int& wy) {
    glLoadIdentity();
    Camera camera;
    camera.updateCamera(-5.0f, 5.0f);
    camera.placeCamera();
    glTranslatef(-4.0f, -4.0f, -6.0f);
    glRotatef(-40.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(angle, 0.0f, 1.0f, 0.0f);
    double px, py;
    GlWindow::project(x, y, z, px, py);
    glPopMatrix();
    glLoadIdentity();
    wx = static_cast<int>(px);
    wy = static_cast<int>(py);
}

const unsigned char* at(const std::vector<unsigned char>& rgb, int x, int y) {
    return &rgb[(static_cast<std::size_t>(y) * 800 + x) * 3];
}

TEST_F(Backdrop, FacingTheSunTheFlareShinesBesideTheEarthAmongStars) {
    createBackground();
    const std::vector<unsigned char> rgb = backdropFrame(engine(), 360.0f, "-sun");
    int x, y;
    earthFramePoint(360.0f, 0.0f, 0.0f, 0.0f, x, y);
    EXPECT_GT(at(rgb, x, y)[2], 60) << "Earth at " << x << "," << y;
    // The flare turns with the tilted axis through the origin: facing the viewer at 0.
    glLoadIdentity();
    Camera camera;
    camera.updateCamera(-5.0f, 5.0f);
    camera.placeCamera();
    glRotatef(-40.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(359.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(50.0f, 0.0f, 0.0f, 1.0f);
    double sx, sy;
    project(2.0f, 2.0f, -30.0f, sx, sy);
    glPopMatrix();
    const unsigned char* sun = at(rgb, static_cast<int>(sx), static_cast<int>(sy));
    EXPECT_GT(sun[0] + sun[1] + sun[2], 600) << "sun at " << sx << "," << sy;
    int lit = 0;  // stars: lone points right of the Earth
    for (int row = 0; row < 600; ++row)
        for (int col = 650; col < 800; ++col)
            lit += at(rgb, col, row)[0] + at(rgb, col, row)[1] + at(rgb, col, row)[2] > 150;
    EXPECT_GT(lit, 20);
}

TEST_F(Backdrop, HalfATurnLaterThePlanetPassesInFront) {
    createBackground();
    const std::vector<unsigned char> rgb = backdropFrame(engine(), 190.0f, "-planet");
    int x, y;
    earthFramePoint(190.0f, -6.0f, 6.0f, 30.0f, x, y);
    const unsigned char* p = at(rgb, x, y);
    // Lit brick red to pale orange, never the blue of the Earth or the stars' violet.
    EXPECT_GT(p[0], 60) << "planet at " << x << "," << y;
    EXPECT_GT(p[0], p[2] + 20);
}

}  // namespace
