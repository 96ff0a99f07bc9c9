#pragma once
// The menu in the fight window: the space backdrop, the game's name and the items of the
// model on a dark plate, and the keys, the mouse and the gamepads' events applied to it.
#include <SDL/SDL.h>

#include <string>

#include "app/menu/menu_model.h"
#include "render/menu_font.h"

namespace menu {

class HandSteering;

class MenuScreen {
public:
    MenuScreen(MenuModel& model, const MenuFont& font) : model(model), font(font) {}

    // The line under the items (why the last run failed), or none when empty.
    void setNotice(const std::string& text) { notice = text; }
    // The camera's hand, whose hold the highlighted row shows (it outlives the screen).
    void showHand(const HandSteering& steering) { hand = &steering; }
    // Draws the whole frame (the buffers are not swapped).
    void draw() const;
    // One SDL event applied to the model; the outcome once a choice or the end is made.
    Outcome take(const SDL_Event& event);
    // After the pass's events: an arrow held down repeats. The menu repeats only the arrows
    // itself, rather than turning on SDL's repeat, which on a slow pass takes a typed letter
    // whose release comes late for a held one and doubles it.
    void tick(Uint32 nowMs);

private:
    void drawHeading() const;
    void drawItems() const;
    void drawItem(int row) const;
    void drawHand() const;
    void drawValue(const std::string& value, float baseline) const;
    void drawScrollMarks() const;
    int shownRows() const;
    int rowUnder(int x, int y) const;
    float fittingSize(const std::string& text, float height, float left, float smallest) const;
    Outcome key(const SDL_keysym& keysym);
    Outcome click(const SDL_MouseButtonEvent& button);
    void stick(const SDL_JoyAxisEvent& axis);
    int rows() const { return static_cast<int>(model.items().size()); }

    MenuModel& model;
    const MenuFont& font;
    std::string notice;
    const HandSteering* hand = nullptr;
    int stickHeld = 0;
    // The arrow held (SDLK_UP or SDLK_DOWN; 0 for none) and when it next repeats; 0 until the
    // pass after its press.
    int heldArrow = 0;
    // The first row in view, which follows the highlight when the rows do not all fit.
    mutable int firstRow = 0;
    Uint32 nextRepeatMs = 0;
};

}  // namespace menu
