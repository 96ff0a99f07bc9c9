#include "render/screen_mode.h"

#include <SDL/SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

namespace {

const int kWindowWidth = 800;
const int kWindowHeight = 600;
const GLfloat kLightPosition[] = {1.0f, 2.0f, 1.0f, 1.0f};

int desktopWidth = kWindowWidth;
int desktopHeight = kWindowHeight;
bool fullscreenNow = false;
bool fullscreenFirst = false;
int screenWidth = kWindowWidth;
int screenHeight = kWindowHeight;

// The largest 4:3 area that fits the screen, centred: the rest stays black (glClear clears
// the whole screen, the scene draws only in the viewport).
void setSceneViewport() {
    int width = screenWidth, height = screenWidth * 3 / 4;
    if (height > screenHeight) {
        height = screenHeight;
        width = screenHeight * 4 / 3;
    }
    glViewport((screenWidth - width) / 2, (screenHeight - height) / 2, width, height);
}

}  // namespace

void startFullscreen(bool on) { fullscreenFirst = on; }

bool fullscreenAtStart() { return fullscreenFirst; }

void rememberDesktopSize() {
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info && info->current_w > 0 && info->current_h > 0) {
        desktopWidth = info->current_w;
        desktopHeight = info->current_h;
    }
}

bool setScreenMode(bool fullscreen) {
    const int width = fullscreen ? desktopWidth : kWindowWidth;
    const int height = fullscreen ? desktopHeight : kWindowHeight;
    const Uint32 flags =
        SDL_HWSURFACE | SDL_OPENGL | SDL_ASYNCBLIT | (fullscreen ? SDL_FULLSCREEN : 0);
    if (!SDL_SetVideoMode(width, height, 32, flags)) {
        std::fprintf(stderr, "Unable to set video mode %dx%d%s: %s\n", width, height,
                     fullscreen ? " (full screen)" : "", SDL_GetError());
        return false;
    }
    fullscreenNow = fullscreen;
    screenWidth = width;
    screenHeight = height;
    setFixedGlState();
    return true;
}

bool isFullscreen() { return fullscreenNow; }

void setFixedGlState() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    setSceneViewport();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.3333333333333333, 0.1, 100.0);
    gluLookAt(0.0, 0.0, 5.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_BLEND);
    const GLfloat diffuse[] = {0.9f, 0.9f, 0.9f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
