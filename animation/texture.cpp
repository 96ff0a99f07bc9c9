#include "animation/texture.h"

#include "animation/bmp.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL/SDL.h>

#include <cstdio>
#include <string>

namespace {

void setFilters() {
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
}

void buildPlaceholder(PlaceholderColour colour) {
    const int side = 4;
    unsigned char pixels[side * side * 3];
    for (int i = 0; i < side * side; ++i) {
        pixels[3 * i] = colour.r;
        pixels[3 * i + 1] = colour.g;
        pixels[3 * i + 2] = colour.b;
    }
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, side, side, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}

// Empty when the picture is in the texture; otherwise why not.
std::string upload(const char* fileName) {
    std::string problem;
    SDL_Surface* surface = loadBgrBmp(fileName, problem);
    if (!surface) return problem;
    while (glGetError() != GL_NO_ERROR) {
    }  // an earlier call's error is not this picture's
    const GLint status = gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, surface->w, surface->h,
                                           GL_BGR_EXT, GL_UNSIGNED_BYTE, surface->pixels);
    SDL_FreeSurface(surface);
    const GLenum glStatus = glGetError();
    if (status == 0 && glStatus == GL_NO_ERROR) return "";
    const GLubyte* text = gluErrorString(status != 0 ? static_cast<GLenum>(status) : glStatus);
    return text ? reinterpret_cast<const char*>(text) : "OpenGL refused it";
}

}  // namespace

bool uploadBmpTexture(unsigned int name, const char* fileName, PlaceholderColour placeholder) {
    glBindTexture(GL_TEXTURE_2D, name);
    setFilters();
    const std::string problem = upload(fileName);
    if (problem.empty()) return true;
    std::fprintf(stderr, "Unable to load texture %s: %s\n", fileName, problem.c_str());
    buildPlaceholder(placeholder);
    return false;
}
