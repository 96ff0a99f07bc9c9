#include "gl_window.h"
#include "tests/support/scratch_folder.h"

#include <SDL/SDL.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class TextureLoad : public GlWindow {
protected:
    // Draws the texture over the whole view and returns the middle pixel.
    static Pixel shown(unsigned int name) {
        glDisable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, name);
        glColor3f(1.0f, 1.0f, 1.0f);
        glTranslatef(0.0f, 0.0f, -1.0f);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2f(-1, -1);
        glTexCoord2f(1, 0);
        glVertex2f(1, -1);
        glTexCoord2f(1, 1);
        glVertex2f(1, 1);
        glTexCoord2f(0, 1);
        glVertex2f(-1, 1);
        glEnd();
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
        return pixel(400, 300);
    }

    std::string path(const char* name) const {
        return testsupport::scratchPath("render", std::string("-") + name);
    }
};

TEST_F(TextureLoad, MissingFileIsNamedAndGetsTheGreyPlaceholder) {
    testing::internal::CaptureStderr();
    const unsigned int name = loadTextureBMP("no-such-picture.bmp");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Unable to load texture no-such-picture.bmp: cannot open it"),
              std::string::npos)
        << err;
    EXPECT_NE(name, 0u);
    const Pixel p = shown(name);
    EXPECT_EQ(p.r, 128);
    EXPECT_EQ(p.g, 128);
    EXPECT_EQ(p.b, 128);
}

// The flare adds its pictures onto the frame: a bad one must add nothing, not a white square.
TEST_F(TextureLoad, DamagedFlarePictureGetsABlackPlaceholder) {
    const std::string file = path("sun.bmp");
    std::ofstream(file) << "BM this is not a picture";
    testing::internal::CaptureStderr();
    const Pixel p = shown(loadTextureBMP(file.c_str(), blackPlaceholder));
    const std::string err = testing::internal::GetCapturedStderr();
    std::remove(file.c_str());
    EXPECT_NE(err.find("Unable to load texture " + file + ": its information header"),
              std::string::npos)
        << err;
    EXPECT_EQ(p.r + p.g + p.b, 0);
}

TEST_F(TextureLoad, PalettedPictureIsConvertedToItsColours) {
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 8, 0, 0, 0, 0);
    ASSERT_NE(image, nullptr);
    SDL_Color orange = {250, 120, 10, 0};
    SDL_SetColors(image, &orange, 0, 1);
    SDL_FillRect(image, nullptr, 0);
    const std::string file = path("paletted.bmp");
    ASSERT_EQ(SDL_SaveBMP(image, file.c_str()), 0);
    SDL_FreeSurface(image);
    const Pixel p = shown(loadTextureBMP(file.c_str()));
    std::remove(file.c_str());
    EXPECT_NEAR(p.r, 250, 2);
    EXPECT_NEAR(p.g, 120, 2);
    EXPECT_NEAR(p.b, 10, 2);
}

TEST_F(TextureLoad, GeneratedPicturesLoadInTheirColours) {
    // The Earth map's middle row at the Atlantic is ocean: more blue than red.
    const Pixel earth = shown(loadTextureBMP("earthmap1k.bmp"));
    EXPECT_GT(earth.b, earth.r);
    // The flare images fade to black at their edges: added onto the sky they show no square.
    SDL_Surface* halo = SDL_LoadBMP("halo.bmp");
    ASSERT_NE(halo, nullptr);
    EXPECT_EQ(halo->format->BitsPerPixel, 24);
    const unsigned char* corner = static_cast<const unsigned char*>(halo->pixels);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 0);
    SDL_FreeSurface(halo);
}

}  // namespace
