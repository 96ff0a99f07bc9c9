#include "app/menu/hand_steering.h"

#include <cstdio>
#include <string>

#include "app/menu/menu_hand.h"

namespace menu {

namespace {

constexpr const char* kQuit = "Quit";

}  // namespace

std::vector<bool> HandSteering::choosableByHand(const MenuModel& model) {
    std::vector<bool> rows;
    for (const Item& item : model.items())
        rows.push_back(item.reason.empty() && item.label != kQuit);
    return rows;
}

// A new screen (or the same one with other rows, a page's): the hand points afresh there.
bool HandSteering::screenChanged(const MenuModel& model) {
    const int rows = static_cast<int>(model.items().size());
    if (model.screen() == screen_ && rows == rows_) return false;
    screen_ = model.screen();
    rows_ = rows;
    return true;
}

Outcome HandSteering::frame(MenuModel& model, int64_t nowMs) {
    if (screenChanged(model)) pointer_.reset();
    const HandPointer::Step step =
        handStep(pointer_, nowMs, choosableByHand(model), model.highlight());
    progress_ = step.progress;
    if (step.moved) model.point(step.row);
    if (!step.chose) return {};
    const std::string label = model.items()[static_cast<std::size_t>(model.highlight())].label;
    std::printf("Menu: \"%s\" chosen by hand\n", label.c_str());
    std::fflush(stdout);
    progress_ = 0;
    return model.choose();
}

}  // namespace menu
