#pragma once
// Why a run could not start or go on. Each reason is said on standard error as it always was,
// and the last one is kept: a run started from the menu goes back to the title screen, which
// shows it there instead of ending the game.
#include <string>

// Writes `line` and a newline to standard error and keeps it (without a leading "vorlaxis: ")
// as the last reason.
void reportFailure(const std::string& line);
// Keeps a reason that was already said (by a layer below app/, in its own words).
void keepFailure(const std::string& reason);
// The last reason kept since the last call, or empty; forgets it.
std::string takeFailure();
