// The settings file's names, one per setting of Settings, with what each takes and the
// comment the written file shows above it.
#pragma once

#include <string>
#include <vector>

#include "app/config/settings.h"

struct SettingField {
    const char* name;
    // The comment lines written before this setting; null for none.
    const char* comment;
    // Exactly one of these points into the Settings the field was made for.
    SDLKey* key = nullptr;
    int* number = nullptr;
    bool* flag = nullptr;
    VisionMode* vision = nullptr;
    std::string* text = nullptr;
    // The largest a number may be, or the most characters a text may have.
    int most = 0;
};

// Every setting of `settings`, in the order the written file holds them.
std::vector<SettingField> settingFields(Settings& settings);

// The value as the file spells it: a key name, a number, yes or no, a recognition's name, a
// text as it is.
std::string fieldText(const SettingField& field);

// The field's line in the file, without its end: "name = value" ("name =" for an empty text).
std::string settingLine(const SettingField& field);

// Sets the field from `text`. False, with `problem` saying what it must be, when `text` is
// not one of its values; the field is then unchanged.
bool setField(const SettingField& field, const std::string& text, std::string& problem);
