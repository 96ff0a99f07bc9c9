#pragma once
// `vorlaxis --menu`: the windows open once, the title screen shows in the fight window, and
// each run chosen there plays in the same windows and comes back to it, until the player
// leaves. A run that fails comes back with its reason under the items.
#include <string>

#include "app/config/options.h"
#include "platform/win32.h"

namespace menu {

// `options`: the command line's, settings read; `argc`/`argv` the command line itself, whose
// options every run shares. 0 when the player leaves, 1 when the menu cannot show.
int playMenu(const Options& options, int argc, char** argv, HINSTANCE instance);

}  // namespace menu
