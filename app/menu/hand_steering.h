#pragma once
// The camera's hand applied to the menu, a frame at a time on the main thread: once the room
// recognition has calibrated, the hand's height moves the highlight and a rock held on a row
// chooses it, as Enter does. "Quit" and the rows that cannot work are never chosen by hand.
#include <cstdint>
#include <vector>

#include "app/menu/hand_pointer.h"
#include "app/menu/menu_model.h"

namespace menu {

class HandSteering {
public:
    // One frame at `nowMs` (the main thread's clock); a choice's outcome, or STAY.
    Outcome frame(MenuModel& model, int64_t nowMs);
    // How far the rock's hold on the highlighted row is, 0 to 1.
    double progress() const { return progress_; }

    // The rows of `model`'s screen that a hand may choose.
    static std::vector<bool> choosableByHand(const MenuModel& model);

private:
    bool screenChanged(const MenuModel& model);

    HandPointer pointer_;
    double progress_ = 0;
    Screen screen_ = Screen::TITLE;
    int rows_ = -1;
};

}  // namespace menu
