#pragma once
// The menu in the fight window: the space backdrop, the game's name and the items of the
// model, driven by the keys, the mouse and the first gamepad, until a choice is made.
#include <string>

#include "app/config/options.h"
#include "app/menu/menu_model.h"

namespace menu {

// Shows the menu until the player chooses a run or leaves; `notice` (the reason the last run
// failed, or empty) shows under the items. Opens the window, the sound and the backdrop first;
// QUIT with an empty argument list also when they cannot open.
Outcome showMenu(const Options& options, const std::string& notice);

}  // namespace menu
