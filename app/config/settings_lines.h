// How the settings file reads line by line, shared by its reader and by the writer that
// changes a line in place: which lines are settings, and the name each one sets.
#pragma once

#include <cstddef>
#include <string>

// Longer lines are no settings lines: a real one is a few dozen characters.
constexpr size_t kMostSettingLineLength = 1000;
// Notepad may start a UTF-8 file with it.
extern const char kByteOrderMark[4];

// `text` without the spaces and tabs around it.
std::string trimmedSetting(const std::string& text);

// The first byte that has no place in a text line (NUL, escape, ...), or -1.
int settingControlByte(const std::string& line);

// The name a line sets, as the reader takes it; empty for an empty line, a comment or a line
// the reader refuses whole. `line` is without its end (no LF, no CR).
std::string settingNameOf(const std::string& line);
