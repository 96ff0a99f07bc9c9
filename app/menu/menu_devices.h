#pragma once
// What the menu learns of the machine before it shows: the camera and gamepads there are, and
// the kept replays as the list reads them.
#include <string>
#include <vector>

#include "app/config/options.h"
#include "app/menu/menu_model.h"

namespace menu {

// Whether a camera is named by --camera or VORLAXIS_CAMERA, or a capture device is there.
bool cameraNamed(const Options& options);
// The gamepads there are; SDL's joystick subsystem is left started.
int countGamepads();

// The newest kept replays (as many as the screen lists), newest first, each
// "YYYY-MM-DD HH:MM  who  result  m:ss".
std::vector<ReplayEntry> keptReplayEntries();

// One replay's line; empty when the file is no replay.
std::string replayLine(const std::string& path);

}  // namespace menu
