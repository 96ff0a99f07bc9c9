#pragma once
// What the menu learns of the machine before it shows: the camera and gamepads there are, and
// the kept replays as the list reads them.
#include <string>
#include <vector>

#include "app/config/options.h"
#include "app/menu/menu_model.h"

namespace menu {

// A camera named by --camera or VORLAXIS_CAMERA, or a capture device; the first gamepad.
Devices findDevices(const Options& options);

// The kept replays, newest first, each "YYYY-MM-DD HH:MM  who  result  m:ss".
std::vector<ReplayEntry> keptReplayEntries();

// One replay's line; empty when the file is no replay.
std::string replayLine(const std::string& path);

}  // namespace menu
