// The settings file on disk: read whole, replaced whole through a file beside it, and changed
// in place by the game's own screens, where only the lines of the settings that changed are
// rewritten and a file written by hand keeps its comments, its other lines and their order.
#pragma once

#include <cstddef>
#include <string>

#include "app/config/settings.h"

// The most of a settings file the game reads; a real one is a few hundred bytes.
constexpr size_t kMostSettingsBytes = 1 << 20;

enum class SettingsOpened { MISSING, READ, FAILED };

// The file's first kMostSettingsBytes + 1 bytes, or the system's reason (`why`) it could not
// be read.
SettingsOpened slurpSettings(const std::string& path, std::string& bytes, std::string& why);

// Puts `text` in `path` whole or not at all, making its folder: it is written to a file beside
// it, which then takes its place (a symbolic link's target's place, the link kept). False with
// `error` naming the file and the system's reason; the file is then as it was, and nothing is
// left beside it.
bool replaceSettingsFile(const std::string& path, const std::string& text, std::string& error);

// `text`, a settings file, with the line of each setting whose value differs between `before`
// and `after` saying its value in `after` (the first line naming it, as the reader takes the
// first); every other byte is kept. A setting with no line gets one at the end.
std::string changedSettingsText(const std::string& text, const Settings& before,
                                const Settings& after);

// Writes to `path` what changed between `before` (what the file is known to hold) and `after`,
// as changedSettingsText does. A missing file is made from defaultSettingsText() with every
// setting of `after` in it. False with `error` naming the file and the system's reason when
// the file cannot be read or replaced; it is then left as it was.
bool saveSettingsChanges(const std::string& path, const Settings& before, const Settings& after,
                         std::string& error);
