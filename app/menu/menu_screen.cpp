#include "app/menu/menu_screen.h"

// The shell's header first: its Win32 names give way to OpenGL's.
#include "app/main.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <algorithm>

#include "app/menu/hand_overlay.h"
#include "app/menu/hand_steering.h"
#include "app/menu/row_window.h"
#include "render/backgrnd.h"

namespace menu {

namespace {

constexpr float kWidth = 800.0f, kHeight = 600.0f;
constexpr float kTitleSize = 64.0f, kLabelSize = 26.0f, kNoticeSize = 24.0f;
constexpr float kFirstRow = 150.0f, kRowPitch = 44.0f;
constexpr float kPlateLeft = 30.0f, kPlateRight = 770.0f;
constexpr float kMarkerX = 50.0f, kLabelX = 80.0f;
// The rows in view at once, with the notice under them; a longer list scrolls.
constexpr int kRowsShown = 9;
// A label too long for the plate at its size is drawn smaller, down to this; the notice under
// the items (a failure's own words) down to its own.
constexpr float kSmallestLabel = 24.0f, kSmallestNotice = 16.0f;
constexpr Sint16 kStickDeadzone = 16000;
// A held arrow repeats after this long, then at this pace (SDL's own defaults).
constexpr Uint32 kRepeatDelayMs = 500, kRepeatIntervalMs = 30;

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

}  // namespace

void MenuScreen::draw() const {
    firstRow = firstRowShown(firstRow, model.highlight(), rows(), kRowsShown);
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
    drawHand();
    leavePixelFrame();
}

// The calibration's prompt, then the hold's ring at the right end of the highlighted row.
void MenuScreen::drawHand() const {
    drawHandCalibration(font);
    if (!hand) return;
    drawHoldRing(kPlateRight - 32, rowTop(model.highlight() - firstRow) + kRowPitch / 2,
                 hand->progress());
}

// `height`, or less for a text that would pass the plate's right edge from `left`.
float MenuScreen::fittingSize(const std::string& text, float height, float left,
                              float smallest) const {
    const float room = kPlateRight - 10.0f - left;
    const float width = font.width(text, height);
    if (width <= room) return height;
    return std::max(smallest, height * room / width);
}

void MenuScreen::drawHeading() const {
    glColor4f(0.55f, 0.85f, 1.0f, 1.0f);
    const char* name = "VORLAXIS";
    font.draw(name, (kWidth - font.width(name, kTitleSize)) / 2, 90.0f, kTitleSize);
    const std::string sub = model.heading();
    glColor4f(0.9f, 0.9f, 0.9f, 1.0f);
    font.draw(sub, (kWidth - font.width(sub, kLabelSize)) / 2, 130.0f, kLabelSize);
}

void MenuScreen::drawItems() const {
    const std::string said = model.notice().empty() ? notice : model.notice();
    const float bottom = rowTop(shownRows()) + (said.empty() ? 8 : 50);
    glColor4f(0.0f, 0.0f, 0.05f, 0.8f);
    rectangle(GL_QUADS, kPlateLeft, kFirstRow - 8, kPlateRight, bottom);
    for (int row = firstRow; row < firstRow + shownRows(); ++row) drawItem(row);
    drawScrollMarks();
    if (said.empty()) return;
    glColor4f(1.0f, 0.6f, 0.4f, 1.0f);
    font.draw(said, kMarkerX, rowTop(shownRows()) + 30,
              fittingSize(said, kNoticeSize, kMarkerX, kSmallestNotice));
}

void MenuScreen::drawItem(int row) const {
    const Item& item = model.items()[static_cast<std::size_t>(row)];
    const float top = rowTop(row - firstRow), baseline = top + 32.0f;
    const bool lit = row == model.highlight();
    if (lit) {
        glColor4f(1.0f, 0.85f, 0.3f, 1.0f);
        glLineWidth(2.0f);
        rectangle(GL_LINE_LOOP, kPlateLeft + 10, top + 2, kPlateRight - 10, top + kRowPitch - 2);
        font.draw(">", kMarkerX, baseline, kLabelSize);
    }
    const float level = item.reason.empty() ? 1.0f : 0.6f;
    if (lit)
        glColor4f(1.0f * level, 0.9f * level, 0.5f * level, 1.0f);
    else
        glColor4f(level, level, level, 1.0f);
    const std::string label = model.typing() ? item.label + "_" : item.label;
    const std::string reason = item.reason.empty() ? "" : "  - " + item.reason;
    const float size = fittingSize(label + reason, kLabelSize, kLabelX, kSmallestLabel);
    font.draw(label, kLabelX, baseline, size);
    if (!item.value.empty()) drawValue(item.value, baseline);
    if (reason.empty()) return;
    glColor4f(1.0f * level, 0.7f * level, 0.7f * level, 1.0f);
    font.draw(reason, kLabelX + font.width(label, size), baseline, size);
}

// A setting's value, pale blue, against the plate's right edge.
void MenuScreen::drawValue(const std::string& value, float baseline) const {
    glColor4f(0.55f, 0.85f, 1.0f, 1.0f);
    font.draw(value, kPlateRight - 36 - font.width(value, kLabelSize), baseline, kLabelSize);
}

// Triangles at the plate's right edge where rows are out of view, above or below.
void MenuScreen::drawScrollMarks() const {
    const float x = kPlateRight - 14;
    glColor4f(0.55f, 0.85f, 1.0f, 1.0f);
    glBegin(GL_TRIANGLES);
    if (firstRow > 0) {
        glVertex2f(x, kFirstRow - 6);
        glVertex2f(x - 6, kFirstRow + 4);
        glVertex2f(x + 6, kFirstRow + 4);
    }
    if (firstRow + shownRows() < rows()) {
        const float bottom = rowTop(shownRows());
        glVertex2f(x, bottom + 4);
        glVertex2f(x - 6, bottom - 6);
        glVertex2f(x + 6, bottom - 6);
    }
    glEnd();
}

int MenuScreen::shownRows() const { return std::min(rows(), kRowsShown); }

// The row under a window point, counting the rows scrolled out of view, or -1.
int MenuScreen::rowUnder(int x, int y) const {
    const int row = rowAt(x, y, shownRows());
    return row < 0 ? -1 : row + firstRow;
}

Outcome MenuScreen::take(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT: return {Outcome::QUIT, {}};
    case SDL_KEYDOWN: return key(event.key.keysym);
    case SDL_KEYUP:
        if (event.key.keysym.sym == heldArrow) heldArrow = 0;
        break;
    case SDL_MOUSEMOTION: model.point(rowUnder(event.motion.x, event.motion.y)); break;
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

Outcome MenuScreen::key(const SDL_keysym& keysym) {
    const char text =
        keysym.unicode > 0 && keysym.unicode < 128 ? static_cast<char>(keysym.unicode) : 0;
    if (model.screen() == Screen::PAGE && model.type(keysym.sym, text)) return {};
    switch (keysym.sym) {
    case SDLK_UP:
    case SDLK_DOWN:
        model.move(keysym.sym == SDLK_UP ? -1 : 1);
        heldArrow = keysym.sym;
        nextRepeatMs = 0;
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return model.choose();
    case SDLK_ESCAPE: return model.back();
    default: model.type(keysym.sym, text); break;
    }
    return {};
}

void MenuScreen::tick(Uint32 nowMs) {
    if (heldArrow == 0) return;
    if (nextRepeatMs == 0) {
        nextRepeatMs = nowMs + kRepeatDelayMs;
    } else if (static_cast<Sint32>(nowMs - nextRepeatMs) >= 0) {
        model.move(heldArrow == SDLK_UP ? -1 : 1);
        nextRepeatMs = nowMs + kRepeatIntervalMs;
    }
}

Outcome MenuScreen::click(const SDL_MouseButtonEvent& button) {
    if (button.button != SDL_BUTTON_LEFT) return {};
    const int row = rowUnder(button.x, button.y);
    if (row < 0) return {};
    model.point(row);
    return model.choose();
}

// The stick moves one row each time it is pushed past the dead zone.
void MenuScreen::stick(const SDL_JoyAxisEvent& axis) {
    if (axis.axis != 1) return;
    const int direction = axis.value > kStickDeadzone ? 1 : axis.value < -kStickDeadzone ? -1 : 0;
    if (direction != 0 && direction != stickHeld) model.move(direction);
    stickHeld = direction;
}

}  // namespace menu
