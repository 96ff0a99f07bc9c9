#include "app/menu/menu_screen.h"

// The shell's header first: its Win32 names give way to OpenGL's.
#include "app/main.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstdio>

#include "app/menu/menu_devices.h"
#include "render/screen_mode.h"
#include "render/backgrnd.h"
#include "render/menu_font.h"
#include "sound/Son.h"

namespace menu {

namespace {

constexpr float kWidth = 800.0f, kHeight = 600.0f;
constexpr float kTitleSize = 64.0f, kLabelSize = 26.0f;
constexpr float kFirstRow = 150.0f, kRowPitch = 44.0f;
constexpr float kPlateLeft = 70.0f, kPlateRight = 730.0f;
constexpr float kLabelX = 120.0f;
constexpr Sint16 kStickDeadzone = 16000;

const char* titleOf(Screen screen) {
    switch (screen) {
    case Screen::TITLE: return "";
    case Screen::LEVEL: return "Fight the computer: level";
    case Screen::INPUT: return "Fight the computer: your input";
    case Screen::REPLAYS: return "Watch a replay";
    }
    return "";
}

void pixelFrame() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, kWidth, kHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
}

void leavePixelFrame() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void rectangle(GLenum mode, float left, float top, float right, float bottom) {
    glBegin(mode);
    glVertex2f(left, top);
    glVertex2f(right, top);
    glVertex2f(right, bottom);
    glVertex2f(left, bottom);
    glEnd();
}

float rowTop(int row) { return kFirstRow + kRowPitch * static_cast<float>(row); }

// The row under a window point, or -1.
int rowAt(int x, int y, int rows) {
    if (x < kPlateLeft || x > kPlateRight || y < kFirstRow) return -1;
    const int row = static_cast<int>((static_cast<float>(y) - kFirstRow) / kRowPitch);
    return row < rows ? row : -1;
}

class MenuView {
public:
    MenuView(MenuModel& model, const MenuFont& font, std::string notice)
        : model(model), font(font), notice(std::move(notice)) {}

    void draw() const {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        world.camera.placeCamera();
        glPushMatrix();
        world.moteur.setLight();
        drawBackground();
        glPopMatrix();
        glPopMatrix();
        pixelFrame();
        drawHeading();
        drawItems();
        leavePixelFrame();
    }

private:
    void drawHeading() const {
        glColor4f(0.55f, 0.85f, 1.0f, 1.0f);
        const char* name = "VORLAXIS";
        font.draw(name, (kWidth - font.width(name, kTitleSize)) / 2, 90.0f, kTitleSize);
        const std::string sub = titleOf(model.screen());
        glColor4f(0.9f, 0.9f, 0.9f, 1.0f);
        font.draw(sub, (kWidth - font.width(sub, kLabelSize)) / 2, 130.0f, kLabelSize);
    }

    void drawItems() const {
        const auto& items = model.items();
        const float bottom = rowTop(static_cast<int>(items.size())) + (notice.empty() ? 8 : 50);
        glColor4f(0.0f, 0.0f, 0.05f, 0.8f);
        rectangle(GL_QUADS, kPlateLeft, kFirstRow - 8, kPlateRight, bottom);
        for (int row = 0; row < static_cast<int>(items.size()); ++row) drawItem(row);
        if (!notice.empty()) {
            glColor4f(1.0f, 0.6f, 0.4f, 1.0f);
            font.draw(notice, kLabelX - 30, rowTop(static_cast<int>(items.size())) + 30,
                      kLabelSize * 0.8f);
        }
    }

    void drawItem(int row) const {
        const Item& item = model.items()[static_cast<std::size_t>(row)];
        const float top = rowTop(row), baseline = top + 32.0f;
        const bool lit = row == model.highlight();
        if (lit) {
            glColor4f(1.0f, 0.85f, 0.3f, 1.0f);
            glLineWidth(2.0f);
            rectangle(GL_LINE_LOOP, kPlateLeft + 10, top + 2, kPlateRight - 10,
                      top + kRowPitch - 2);
            font.draw(">", kPlateLeft + 20, baseline, kLabelSize);
        }
        const float level = item.reason.empty() ? 1.0f : 0.6f;
        if (lit)
            glColor4f(1.0f * level, 0.9f * level, 0.5f * level, 1.0f);
        else
            glColor4f(level, level, level, 1.0f);
        font.draw(item.label, kLabelX, baseline, kLabelSize);
        if (item.reason.empty()) return;
        glColor4f(1.0f * level, 0.7f * level, 0.7f * level, 1.0f);
        font.draw("- " + item.reason, kLabelX + font.width(item.label + "  ", kLabelSize), baseline,
                  kLabelSize);
    }

    MenuModel& model;
    const MenuFont& font;
    std::string notice;
};

// One SDL event applied to the model; the outcome once a choice or the end is made.
class MenuInput {
public:
    explicit MenuInput(MenuModel& model) : model(model) {}

    Outcome take(const SDL_Event& event) {
        switch (event.type) {
        case SDL_QUIT: return quit();
        case SDL_KEYDOWN: return key(event.key.keysym.sym);
        case SDL_MOUSEMOTION: model.point(rowAt(event.motion.x, event.motion.y, rows())); break;
        case SDL_MOUSEBUTTONDOWN: return click(event.button);
        case SDL_JOYBUTTONDOWN:
            if (event.jbutton.button == 0) return model.choose();
            if (event.jbutton.button == 1) return model.back();
            break;
        case SDL_JOYHATMOTION:
            if (event.jhat.value & SDL_HAT_UP) model.move(-1);
            if (event.jhat.value & SDL_HAT_DOWN) model.move(1);
            break;
        case SDL_JOYAXISMOTION: stick(event.jaxis); break;
        default: break;
        }
        return {};
    }

private:
    static Outcome quit() {
        Outcome outcome;
        outcome.kind = Outcome::QUIT;
        return outcome;
    }

    int rows() const { return static_cast<int>(model.items().size()); }

    Outcome key(SDLKey sym) {
        switch (sym) {
        case SDLK_UP: model.move(-1); break;
        case SDLK_DOWN: model.move(1); break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return model.choose();
        case SDLK_ESCAPE: return model.back();
        default: break;
        }
        return {};
    }

    Outcome click(const SDL_MouseButtonEvent& button) {
        if (button.button != SDL_BUTTON_LEFT) return {};
        const int row = rowAt(button.x, button.y, rows());
        if (row < 0) return {};
        model.point(row);
        return model.choose();
    }

    // The stick moves one row each time it is pushed past the dead zone.
    void stick(const SDL_JoyAxisEvent& axis) {
        if (axis.axis != 1) return;
        const int direction = axis.value > kStickDeadzone    ? 1
                              : axis.value < -kStickDeadzone ? -1
                                                             : 0;
        if (direction != 0 && direction != stickHeld) model.move(direction);
        stickHeld = direction;
    }

    MenuModel& model;
    int stickHeld = 0;
};

bool openWindow(const Options& options, MenuFont& font) {
    setSoundOff(options.mute);
    startFullscreen(options.fullscreen || options.settings.fullscreen);
    world.init();
    createBackground();
    std::string error;
    if (!font.load(error)) {
        std::fprintf(stderr, "vorlaxis: the menu's font: %s\n", error.c_str());
        return false;
    }
    SDL_EnableKeyRepeat(SDL_DEFAULT_REPEAT_DELAY, SDL_DEFAULT_REPEAT_INTERVAL);
    SDL_JoystickEventState(SDL_ENABLE);
    if (SDL_NumJoysticks() > 0) SDL_JoystickOpen(0);
    return true;
}

}  // namespace

Outcome showMenu(const Options& options, const std::string& notice) {
    MenuFont font;
    if (!openWindow(options, font)) return {Outcome::QUIT, {"failed"}};
    MenuModel model(findDevices(options), keptReplayEntries());
    MenuView view(model, font, notice);
    MenuInput input(model);
    for (;;) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            Outcome outcome = input.take(event);
            if (outcome.kind != Outcome::STAY) return outcome;
        }
        view.draw();
        SDL_GL_SwapBuffers();
        SDL_Delay(15);
    }
}

}  // namespace menu
