#include "render/Moteur3d.h"

#include "animation/texture.h"
#include "render/hud_digits.h"
#include "render/screen_mode.h"
#include "sound/Son.h"

#include <SDL/SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

const GLfloat lightPosition[] = {1.0f, 2.0f, 1.0f, 1.0f};

[[noreturn]] void failVideo() {
    std::fprintf(stderr, "Unable to set video mode: %s\n", SDL_GetError());
    // Without X, SDL may have fallen back to a text-terminal driver; give the terminal back.
    SDL_Quit();
    std::exit(1);
}

// Corner c (0..2) of a triangle entry: the 0-based entry of `list` numbered by value
// 3c + offset, or null when the number falls outside it or the entry is too short.
const std::vector<double>* corner(const std::vector<double>& polygon, int c, int offset,
                                  const std::vector<std::vector<double>>& list) {
    // Compared as a double first: truncating a huge or NaN number to an integer is undefined.
    const double number = polygon[3 * c + offset];
    if (!(number >= 1.0 && number < static_cast<double>(list.size()) + 1.0)) return nullptr;
    const std::vector<double>& entry = list[static_cast<std::size_t>(number) - 1];
    return entry.size() < 3 ? nullptr : &entry;
}

// The normal and vertex entries of a triangle's three corners, looked up once; false when
// any of them is missing, so the triangle is skipped.
struct TriangleCorners {
    const std::vector<double>* normal[3];
    const std::vector<double>* vertex[3];
};

bool triangleCorners(const std::vector<double>& polygon, const Model& model,
                     TriangleCorners& corners) {
    if (polygon.size() < 9) return false;
    for (int c = 0; c < 3; ++c) {
        corners.normal[c] = corner(polygon, c, 2, model[NORMALS]);
        corners.vertex[c] = corner(polygon, c, 0, model[VERTICES]);
        if (!corners.normal[c] || !corners.vertex[c]) return false;
    }
    return true;
}

// A tower's quad layout in HUD units for the stage k steps below the newest.
struct StageBox {
    float x, y, width, height;
};

StageBox stageBox(int tower, unsigned k) {
    const float step = static_cast<float>(k);
    switch (tower) {
    case animation::kSignTower1: return {-0.98f, 0.2f - 0.2f * step, 0.18f, 0.18f};
    case animation::kSignTower2: return {0.8f, 0.2f - 0.2f * step, 0.18f, 0.18f};
    case animation::kWinTower1: return {-0.78f, -0.4f - 0.1f * step, 0.18f, 0.08f};
    case animation::kWinTower2: return {0.6f, -0.4f - 0.1f * step, 0.18f, 0.08f};
    default: return {-0.5f, -0.9f, 1.0f, 0.2f};
    }
}

// The stage's texture value truncated to a table index, or -1 when it names no texture.
int textureIndex(float value) {
    if (!(value >= 0.0f && value < static_cast<float>(nbHudTextures))) return -1;
    return static_cast<int>(value);
}

void lifeBar(float left, float life) {
    const float right = left + hudScaleX * 0.5f * life / 100.0f;
    const float bottom = hudScaleY * 0.75f;
    const float top = bottom + hudScaleY * 0.06f;
    glNormal3f(0.0f, 0.0f, 1.0f);
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glVertex3f(left, top, hudDepth);
    glVertex3f(left, bottom, hudDepth);
    glColor4f(1.0f - life / 100.0f, life / 100.0f, 0.0f, 1.0f);
    glVertex3f(right, bottom, hudDepth);
    glVertex3f(right, top, hudDepth);
}

}  // namespace

unsigned int loadTextureBMP(const char* fileName, PlaceholderColour placeholder) {
    GLuint name = 0;
    glGenTextures(1, &name);
    uploadBmpTexture(name, fileName, placeholder);
    return name;
}

Moteur3d::Moteur3d() {}

Moteur3d::~Moteur3d() {}

void Moteur3d::init() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) failVideo();
    rememberDesktopSize();
    // A screen that cannot be taken whole still leaves the window.
    if (!(fullscreenAtStart() && setScreenMode(true)) && !setScreenMode(false)) failVideo();
    SDL_WM_SetCaption("Vorlaxis", "");
    // SDL turns Ctrl-C and termination requests into quit events, which this game never reads
    // (the control panel is its way out): give them back their default action so that a
    // terminal's Ctrl-C or a kill still ends the program.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    // A mode without a usable context answers no GL queries; better to stop here than draw
    // into nothing.
    if (!glGetString(GL_VERSION)) failVideo();

    initSon();
    playBackgroundMusic();
}

void Moteur3d::setLight() {
    const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
}

void Moteur3d::draw(const Model& model) {
    glBegin(GL_TRIANGLES);
    if (model.size() > POLYGONS) {
        for (const std::vector<double>& polygon : model[POLYGONS]) {
            TriangleCorners corners;
            if (!triangleCorners(polygon, model, corners)) continue;
            for (int c = 0; c < 3; ++c) {
                const std::vector<double>& n = *corners.normal[c];
                const std::vector<double>& v = *corners.vertex[c];
                glNormal3f(static_cast<float>(n[0]), static_cast<float>(n[1]),
                           static_cast<float>(n[2]));
                glVertex3f(static_cast<float>(v[0] / 4.0), static_cast<float>(v[1] / 4.0),
                           static_cast<float>(v[2] / 4.0));
            }
        }
    }
    glEnd();
}

void Moteur3d::draw(const std::vector<std::vector<float>>& particles) {
    glBegin(GL_LINES);
    for (const std::vector<float>& p : particles) {
        if (p.size() < 9) continue;
        if (p[8] > 0.5f)
            glColor4f(0.4f, 0.4f, 1.0f, p[1]);
        else
            glColor4f(1.0f, 0.4f, 0.4f, p[1]);
        glVertex3f(p[2], p[3], p[4]);
        glVertex3f(static_cast<float>(p[2] + 0.01 * p[5]), static_cast<float>(p[3] + 0.01 * p[6]),
                   static_cast<float>(p[4] + 0.01 * p[7]));
    }
    glEnd();
}

void Moteur3d::draw(const std::vector<std::vector<float>>& stages, int tower,
                    const unsigned int* textures) {
    const std::size_t n = stages.size();
    for (std::size_t i = n; i-- > 0;) {
        const std::vector<float>& stage = stages[i];
        if (stage.size() < 3) continue;
        const StageBox box = stageBox(tower, static_cast<unsigned>(n - 1 - i));
        draw(textures, textureIndex(stage[2]), box.x, box.y, box.width, box.height, stage[1]);
    }
}

void Moteur3d::draw(const unsigned int* textures, int index, float x, float y, float width,
                    float height, float alpha) {
    // An unknown texture is not drawn at all rather than read from beyond the table.
    if (!textures || index < 0 || index >= nbHudTextures) return;
    x *= hudScaleX;
    width *= hudScaleX;
    y *= hudScaleY;
    height *= hudScaleY;
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, textures[index]);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x, y, hudDepth);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x + width, y, hudDepth);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x + width, y + height, hudDepth);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x, y + height, hudDepth);
    glEnd();
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}

void Moteur3d::displayLife(float life1, float life2) {
    // Written so that NaN also counts as no life.
    if (!(life1 > 0.0f)) life1 = 0.0f;
    if (!(life2 > 0.0f)) life2 = 0.0f;
    glDisable(GL_LIGHTING);
    glBegin(GL_QUADS);
    lifeBar(hudScaleX * -0.85f, life1);
    lifeBar(hudScaleX * 0.35f, life2);
    glEnd();
    glEnable(GL_LIGHTING);
}

void Moteur3d::displayWins(int wins1, int wins2, const unsigned int* textures, int tile) {
    // Under the life-bar labels, at the left end of each bar: the tile, then the number.
    const float y = 0.58f, height = 0.09f, tileWidth = 0.2f, gap = 0.03f;
    const float left[2] = {-0.85f, 0.35f};
    const int wins[2] = {wins1, wins2};
    for (int p = 0; p < 2; ++p) {
        draw(textures, tile, left[p], y, tileWidth, height, 1.0f);
        glDisable(GL_LIGHTING);
        glColor4f(1.0f, 0.85f, 0.2f, 1.0f);
        drawHudNumber(wins[p], left[p] + tileWidth + gap, y, height);
        glEnable(GL_LIGHTING);
    }
}

void Moteur3d::handleEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

float Moteur3d::placeJoueur(int player, float x1, float x2, float reach) {
    const float gap = x2 - x1;
    const float m = gap < reach ? gap : reach;
    if (player == 1) {
        const float drawnX = x2 - m;
        glTranslatef(drawnX, 0.0f, 0.0f);
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        glColor4f(0.4f, 0.4f, 1.0f, 1.0f);
        return drawnX;
    }
    const float drawnX = x1 + m;
    glTranslatef(drawnX, 0.0f, 0.0f);
    glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
    glColor4f(1.0f, 0.4f, 0.4f, 1.0f);
    return drawnX;
}
