#include "app/menu/settings_page.h"

#include <SDL/SDL_keysym.h>

#include <utility>

#include "app/config/settings_writer.h"
#include "app/panel/panel_feed.h"
#include "sound/Son.h"

namespace menu {

SettingsPage::SettingsPage(Settings& settings, std::string path, bool soundOff)
    : settings(settings), screen(settings, std::move(path)), soundOff(soundOff) {}

std::vector<Item> SettingsPage::rows() const {
    std::vector<Item> items;
    for (const SettingRow& row : screen.rows()) items.push_back({row.label, "", "", row.value});
    return items;
}

void SettingsPage::choose(int row) {
    screen.choose(row);
    applyChange();
}

bool SettingsPage::takeKey(int key, char text, int row) {
    (void)text;
    if (screen.waitingForKey()) {
        screen.keyPressed(static_cast<SDLKey>(key));
    } else if (key == SDLK_LEFT || key == SDLK_RIGHT) {
        screen.adjust(row, key == SDLK_LEFT ? -1 : 1);
    } else {
        return false;
    }
    applyChange();
    return true;
}

// The keys go to the panel's tables (the runs read them from the settings themselves), the
// sound follows at once.
void SettingsPage::applyChange() const {
    publishKeys(settings);
    setSoundVolume(settings.volume);
    setSoundOff(soundOff || settings.mute);
}

std::string rememberJoinAddress(Settings& settings, const std::string& path,
                                const std::string& address) {
    if (address == settings.join) return "";
    Settings after = settings;
    after.join = address;
    std::string error;
    const bool saved = saveSettingsChanges(path, settings, after, error);
    settings.join = address;
    return saved ? "" : error;
}

}  // namespace menu
