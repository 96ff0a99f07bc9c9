#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstdlib>

#include "animation/codes.h"
#include "animation/moves.h"
#include "tests/animation/model_files.h"
#include "tests/support/wait.h"

namespace {

using namespace animation;

struct Rgb {
    Uint8 r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << '(' << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << ')';
}

// Texture uploads need a real OpenGL context: one small SDL window for the whole program. It is
// left open until exit, as the game does: closing it unloads the GL driver, which hides the
// driver's own allocations from the leak checker's suppressions.
class Textures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!std::getenv("DISPLAY")) return;
        // A display server started just before us may not accept clients yet.
        ready = testwait::waitUntil(
            [] {
                if (SDL_Init(SDL_INIT_VIDEO) == 0 && SDL_SetVideoMode(64, 64, 32, SDL_OPENGL))
                    return true;
                SDL_Quit();
                return false;
            },
            testwait::kPatienceSeconds, std::chrono::milliseconds(250));
        failed = !ready;
    }
    void SetUp() override {
        if (failed) FAIL() << "no OpenGL window on $DISPLAY: " << SDL_GetError();
        if (!ready) GTEST_SKIP() << "no display for an OpenGL window";
    }
    static bool ready;
    static bool failed;
};
bool Textures::ready = false;
bool Textures::failed = false;

Rgb colourOf(int index, int x, int y) {
    return {Uint8(20 * index + 5), Uint8(40 * x + 1), Uint8(90 * y + 2)};
}

void saveBmp24(const std::string& path, int w, int h, int index) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = colourOf(index, x, y);
            Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 3;
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

void saveBmp8(const std::string& path, int w, int h, int index) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0);
    SDL_Color palette[256] = {};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = colourOf(index, x, y);
            const int entry = y * w + x;
            palette[entry] = {c.r, c.g, c.b, 0};
            static_cast<Uint8*>(s->pixels)[y * s->pitch + x] = Uint8(entry);
        }
    SDL_SetColors(s, palette, 0, 256);
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

// The level-0 image of a texture, first stored row first.
std::vector<Rgb> texels(unsigned int name, int* w, int* h) {
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, h);
    std::vector<Rgb> out(std::size_t(*w) * std::size_t(*h));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, out.data());
    return out;
}

void expectImage(unsigned int name, int index, int w, int h) {
    int tw = 0, th = 0;
    const std::vector<Rgb> got = texels(name, &tw, &th);
    ASSERT_EQ(tw, w);
    ASSERT_EQ(th, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(got[y * w + x], colourOf(index, x, y))
                << "texture " << index << " at " << x << ',' << y;
}

void expectPlaceholder(unsigned int name) {
    int w = 0, h = 0;
    const std::vector<Rgb> got = texels(name, &w, &h);
    ASSERT_FALSE(got.empty());
    for (const Rgb& c : got) EXPECT_EQ(c, (Rgb{128, 128, 128}));
}

std::string loadIn(const TempDir& dir, Moves& moves) {
    WorkingDir here(dir.path());
    ::testing::internal::CaptureStderr();
    moves.loadTextures();
    return ::testing::internal::GetCapturedStderr();
}

TEST_F(Textures, LoadsEachFileIntoItsSlotTopRowFirst) {
    TempDir dir;
    // Width 2 makes BMP rows padded, as OpenGL's default unpack alignment expects; sizes are
    // powers of two so that the mipmap builder keeps level 0 unscaled.
    for (int i = 0; i < Moves::TEXTURE_COUNT; ++i)
        saveBmp24(dir.file(Moves::textureFiles[i]), 2 << (i % 3), 2 << (i % 2), i);
    Moves moves;
    EXPECT_EQ(loadIn(dir, moves), "");
    unsigned int* names = moves.getText();
    for (int i = 0; i < Moves::TEXTURE_COUNT; ++i) {
        EXPECT_NE(names[i], 0u);
        for (int j = 0; j < i; ++j) EXPECT_NE(names[i], names[j]);
        expectImage(names[i], i, 2 << (i % 3), 2 << (i % 2));
    }
    GLint minFilter = 0, magFilter = 0;
    glBindTexture(GL_TEXTURE_2D, names[kScissorsIcon]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Textures, MissingOrUnreadableFilesAreNamedAndGetAPlaceholder) {
    TempDir dir;
    for (int i = 0; i < Moves::TEXTURE_COUNT; ++i)
        saveBmp24(dir.file(Moves::textureFiles[i]), 4, 4, i);
    std::remove(dir.file("pawin.bmp").c_str());
    dir.write("mi.bmp", "BM this is not a picture");
    dir.write("win.bmp", "");
    Moves moves;
    const std::string err = loadIn(dir, moves);
    for (const char* name : {"pawin.bmp", "mi.bmp", "win.bmp"})
        EXPECT_NE(err.find(name), std::string::npos) << name << " not named in:\n" << err;
    EXPECT_EQ(err.find("paf.bmp"), std::string::npos);
    expectPlaceholder(moves.getText()[kPaWin]);
    expectPlaceholder(moves.getText()[kMi]);
    expectPlaceholder(moves.getText()[kWin]);
    expectImage(moves.getText()[kPaf], kPaf, 4, 4);
}

TEST_F(Textures, PalettedPicturesAreConvertedToThreeBytesPerPixel) {
    TempDir dir;
    for (int i = 0; i < Moves::TEXTURE_COUNT; ++i)
        saveBmp8(dir.file(Moves::textureFiles[i]), 2, 4, i);
    Moves moves;
    EXPECT_EQ(loadIn(dir, moves), "");
    expectImage(moves.getText()[kLifeLabel1], kLifeLabel1, 2, 4);
    expectImage(moves.getText()[kPrWin], kPrWin, 2, 4);
}

TEST_F(Textures, AnIndexOutsideTheTableIsRefused) {
    TempDir dir;
    saveBmp24(dir.file("x.bmp"), 2, 2, 0);
    Moves moves;
    ::testing::internal::CaptureStderr();
    moves.loadTexture(dir.file("x.bmp").c_str(), kTextureCount);
    moves.loadTexture(dir.file("x.bmp").c_str(), -1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("x.bmp"), std::string::npos);
}

}  // namespace
