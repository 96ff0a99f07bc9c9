#include "app/menu/settings_screen.h"

#include <algorithm>
#include <utility>

#include "app/config/key_names.h"
#include "app/config/settings_fields.h"
#include "app/config/settings_writer.h"
#include "app/panel/panel_feed.h"

namespace menu {

namespace {

// A row of the screen: the setting it shows, by its name in the file, and how it reads.
struct RowSpec {
    const char* field;
    const char* label;
    // How a yes/no setting reads when set and when not; null for the file's yes and no.
    const char* set = nullptr;
    const char* unset = nullptr;
    // What Left, Right or a choice adds to or takes from a number.
    int step = 1;
};

const RowSpec kRows[] = {
    {"player1.left", "Player 1 left"},
    {"player1.right", "Player 1 right"},
    {"player1.rock", "Player 1 rock"},
    {"player1.paper", "Player 1 paper"},
    {"player1.scissors", "Player 1 scissors"},
    {"player2.left", "Player 2 left"},
    {"player2.right", "Player 2 right"},
    {"player2.rock", "Player 2 rock"},
    {"player2.paper", "Player 2 paper"},
    {"player2.scissors", "Player 2 scissors"},
    {"gamepad.rock", "Gamepad rock button"},
    {"gamepad.paper", "Gamepad paper button"},
    {"gamepad.scissors", "Gamepad scissors button"},
    {"gamepad.pause", "Gamepad pause button"},
    {"fullscreen", "Fullscreen", "yes", "no"},
    // The file says whether the sound is muted; the screen says whether it plays.
    {"mute", "Sound", "off", "on"},
    {"volume", "Volume", nullptr, nullptr, 8},
    {"turn-rate", "Turn rate", nullptr, nullptr, 10},
    {"vision", "Recognition"},
};

constexpr int kRowCount = static_cast<int>(sizeof kRows / sizeof kRows[0]);

const char* const kPressAKey = "press a key";

// The field of `settings` a row shows.
SettingField fieldOf(Settings& settings, int row) {
    for (const SettingField& field : settingFields(settings))
        if (std::string(field.name) == kRows[row].field) return field;
    return SettingField{kRows[row].field, nullptr};
}

std::string shown(const SettingField& field, const RowSpec& row) {
    if (field.flag && row.set) return *field.flag ? row.set : row.unset;
    return fieldText(field);
}

// Switches a yes/no or a recognition over; false for any other field.
bool switchOver(const SettingField& field) {
    if (field.flag) *field.flag = !*field.flag;
    if (field.vision)
        *field.vision = *field.vision == VisionMode::ROOM ? VisionMode::CLASSIC : VisionMode::ROOM;
    return field.flag || field.vision;
}

}  // namespace

SettingsScreen::SettingsScreen(Settings& settings, std::string path)
    : settings_(settings), path_(std::move(path)), saved_(settings) {}

int SettingsScreen::rowCount() const { return kRowCount; }

std::vector<SettingRow> SettingsScreen::rows() const {
    std::vector<SettingRow> rows;
    for (int row = 0; row < kRowCount; ++row)
        rows.push_back({kRows[row].label,
                        row == waiting_ ? kPressAKey : shown(fieldOf(settings_, row), kRows[row])});
    return rows;
}

void SettingsScreen::choose(int row) {
    if (row < 0 || row >= kRowCount || waitingForKey()) return;
    const SettingField field = fieldOf(settings_, row);
    if (field.key) {
        waiting_ = row;
    } else if (field.number) {
        *field.number =
            *field.number >= field.most ? 0 : std::min(field.most, *field.number + kRows[row].step);
        save();
    } else if (switchOver(field)) {
        save();
    }
}

void SettingsScreen::adjust(int row, int delta) {
    if (row < 0 || row >= kRowCount || waitingForKey() || delta == 0) return;
    const SettingField field = fieldOf(settings_, row);
    if (field.number) {
        const int stepped = std::clamp(*field.number + delta * kRows[row].step, 0, field.most);
        if (stepped == *field.number) return;
        *field.number = stepped;
        save();
    } else if (switchOver(field)) {
        save();
    }
}

void SettingsScreen::keyPressed(SDLKey key) {
    if (!waitingForKey()) return;
    if (key == SDLK_ESCAPE) return cancel();
    const SettingField field = fieldOf(settings_, waiting_);
    const SDLKey old = *field.key;
    std::string problem;
    if (!setField(field, keyName(key), problem)) {
        refusal_ =
            keyName(key).empty() ? "that key has no name: press another" : "press " + problem;
        return;
    }
    // One key doing two things would leave one of them out of reach.
    for (const SettingField& other : settingFields(settings_))
        if (other.key && other.key != field.key && *other.key == key) *other.key = old;
    cancel();
    publishKeys(settings_);
    save();
}

void SettingsScreen::cancel() {
    waiting_ = -1;
    refusal_.clear();
}

void SettingsScreen::save() {
    std::string error;
    if (saveSettingsChanges(path_, saved_, settings_, error)) {
        saved_ = settings_;
        saveProblem_.clear();
    } else {
        saveProblem_ = error;
    }
}

}  // namespace menu
