#pragma once
// `vorlaxis --menu`: the title screen first, then the run chosen there, then the title screen
// again, until the player leaves. Each screen and each run is a process of its own.

namespace menu {

// Whether the command line asks for the menu, or for one showing of it (the menu's own
// child, --menu-screen FILE).
bool wantsMenu(int argc, const char* const* argv);

// The menu until the player leaves: 0, or 2 for a command-line mistake (an option that chooses
// the run beside --menu), or 1 when the menu cannot show.
int runMenu(int argc, const char* const* argv);

// The exit code of a run: as given, except that a run the menu started says with
// kLeaveExitCode that the player left the whole game (a window closed, Escape in the panel).
int runExitCode(int code);
constexpr int kLeaveExitCode = 3;

}  // namespace menu
