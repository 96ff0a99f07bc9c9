#include "app/config/settings_fields.h"

#include <cctype>

#include "app/config/key_names.h"

namespace {

const char* const kKeysComment =
    "# Keys, by SDL's key names: a letter, a digit or a sign (a, 7, /), or a name such as\n"
    "# left, right, up, down, space, return, tab, left shift, right ctrl, left alt, [0] to [9]\n"
    "# (the keypad), f1 to f15 but f5 (which calibrates the camera again).\n";
const char* const kGamepadComment =
    "\n# Each player's gamepad, by SDL's joystick number (0 is the first plugged in).\n";
const char* const kButtonsComment =
    "# The buttons (0 to 31) and the stick's axis that walks (0 to 15), on both gamepads.\n";
const char* const kDeadZoneComment =
    "# How far from the middle (0 to 32767) the stick must be pushed to walk.\n";
const char* const kFlagsComment = "\n# yes or no.\n";
const char* const kTurnRateComment =
    "# Turns a second (1 to 1000); 0 runs each turn as soon as the last is drawn.\n";

const char* const kVolumeComment = "# The sound's volume, 0 (silent) to 128 (full).\n";
const char* const kJoinComment =
    "\n# The address last typed on the Join screen (host or host:port); empty for none.\n";

const char* const kVisionComment =
    "\n# How the camera reads the hands: classic (the hand brighter than the rest of the\n"
    "# picture: a dark backdrop and dark sleeves) or room (calibrated on the players at the\n"
    "# start: a lit room, faces and bodies in the picture).\n";

constexpr int kMostGamepad = 15;
constexpr int kMostButton = 31;
constexpr int kMostAxis = 15;
constexpr int kMostDeadZone = 32767;
constexpr int kMostTurnRate = 1000;
constexpr int kMostJoinLength = 200;

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

SettingField keyField(const char* name, SDLKey& key, const char* comment = nullptr) {
    SettingField field{name, comment};
    field.key = &key;
    return field;
}

SettingField numberField(const char* name, int& number, int most, const char* comment = nullptr) {
    SettingField field{name, comment};
    field.number = &number;
    field.most = most;
    return field;
}

SettingField flagField(const char* name, bool& flag, const char* comment = nullptr) {
    SettingField field{name, comment};
    field.flag = &flag;
    return field;
}

SettingField visionField(VisionMode& mode) {
    SettingField field{"vision", kVisionComment};
    field.vision = &mode;
    return field;
}

SettingField textField(const char* name, std::string& text, int most, const char* comment) {
    SettingField field{name, comment};
    field.text = &text;
    field.most = most;
    return field;
}

// Digits only, no sign: a setting is never negative, and "+5" or "0x10" are not what anyone
// means to write.
bool setNumber(const SettingField& field, const std::string& text, std::string& problem) {
    long value = 0;
    bool digits = !text.empty() && text.size() <= 6;
    for (char c : text) {
        digits = digits && std::isdigit(static_cast<unsigned char>(c));
        if (digits) value = value * 10 + (c - '0');
    }
    if (!digits || value > field.most) {
        problem = "a whole number from 0 to " + std::to_string(field.most);
        return false;
    }
    *field.number = static_cast<int>(value);
    return true;
}

bool setVision(const SettingField& field, const std::string& text, std::string& problem) {
    if (parseVisionMode(lowered(text), *field.vision)) return true;
    problem = "classic or room";
    return false;
}

// Anything a line can hold: no control characters, which would break the file's lines.
bool setText(const SettingField& field, const std::string& text, std::string& problem) {
    bool printable = text.size() <= static_cast<size_t>(field.most);
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        printable = printable && byte >= 0x20 && byte != 0x7f;
    }
    if (!printable) {
        problem = "text of at most " + std::to_string(field.most) +
                  " characters with no control characters";
        return false;
    }
    *field.text = text;
    return true;
}

bool setFlag(const SettingField& field, const std::string& text, std::string& problem) {
    const std::string word = lowered(text);
    if (word == "yes" || word == "true" || word == "on" || word == "1") {
        *field.flag = true;
    } else if (word == "no" || word == "false" || word == "off" || word == "0") {
        *field.flag = false;
    } else {
        problem = "yes or no";
        return false;
    }
    return true;
}

}  // namespace

const char* visionModeName(VisionMode mode) {
    return mode == VisionMode::ROOM ? "room" : "classic";
}

bool parseVisionMode(const std::string& text, VisionMode& mode) {
    if (text != "classic" && text != "room") return false;
    mode = text == "room" ? VisionMode::ROOM : VisionMode::CLASSIC;
    return true;
}

std::vector<SettingField> settingFields(Settings& s) {
    PlayerKeys& one = s.keys[0];
    PlayerKeys& two = s.keys[1];
    return {
        keyField("player1.left", one.left, kKeysComment),
        keyField("player1.right", one.right),
        keyField("player1.rock", one.rock),
        keyField("player1.paper", one.paper),
        keyField("player1.scissors", one.scissors),
        keyField("player2.left", two.left),
        keyField("player2.right", two.right),
        keyField("player2.rock", two.rock),
        keyField("player2.paper", two.paper),
        keyField("player2.scissors", two.scissors),
        numberField("player1.gamepad", s.gamepad[0], kMostGamepad, kGamepadComment),
        numberField("player2.gamepad", s.gamepad[1], kMostGamepad),
        numberField("gamepad.rock", s.rockButton, kMostButton, kButtonsComment),
        numberField("gamepad.paper", s.paperButton, kMostButton),
        numberField("gamepad.scissors", s.scissorsButton, kMostButton),
        numberField("gamepad.pause", s.pauseButton, kMostButton),
        numberField("gamepad.walk-axis", s.walkAxis, kMostAxis),
        numberField("gamepad.deadzone", s.deadZone, kMostDeadZone, kDeadZoneComment),
        flagField("fullscreen", s.fullscreen, kFlagsComment),
        flagField("mute", s.mute),
        numberField("volume", s.volume, kMostVolume, kVolumeComment),
        numberField("turn-rate", s.turnRate, kMostTurnRate, kTurnRateComment),
        visionField(s.vision),
        textField("join", s.join, kMostJoinLength, kJoinComment),
    };
}

std::string fieldText(const SettingField& field) {
    if (field.key) return keyName(*field.key);
    if (field.number) return std::to_string(*field.number);
    if (field.vision) return visionModeName(*field.vision);
    if (field.text) return *field.text;
    return *field.flag ? "yes" : "no";
}

std::string settingLine(const SettingField& field) {
    const std::string value = fieldText(field);
    return std::string(field.name) + (value.empty() ? " =" : " = " + value);
}

bool setField(const SettingField& field, const std::string& text, std::string& problem) {
    if (field.number) return setNumber(field, text, problem);
    if (field.flag) return setFlag(field, text, problem);
    if (field.vision) return setVision(field, text, problem);
    if (field.text) return setText(field, text, problem);
    const SDLKey key = keyByName(text);
    if (key == SDLK_UNKNOWN) {
        problem = "a key name SDL knows";
        return false;
    }
    // The fight window's F5 calibrates the camera again, whoever's key it would be.
    if (key == SDLK_F5) {
        problem = "a key other than f5, which calibrates the camera again";
        return false;
    }
    *field.key = key;
    return true;
}
