#pragma once
// The Settings screen as a page of the menu: its rows with their values, Enter or a click to
// set a key (the next key pressed is the new one, Escape keeps the old), Left and Right to
// step a number or switch a yes/no. Each change holds at once for the menu, the panel's key
// tables and the sound, and for the runs started after it; what could not be saved is the
// page's notice.
#include <string>
#include <vector>

#include "app/config/settings.h"
#include "app/menu/menu_model.h"
#include "app/menu/settings_screen.h"

namespace menu {

class SettingsPage : public MenuPage {
public:
    // Over the menu's own `settings`, saved in `path`. `soundOff`: the game started without
    // sound (--mute, or the file's), so no audio device is open to turn on.
    SettingsPage(Settings& settings, std::string path, bool soundOff);

    std::string heading() const override { return "Settings"; }
    std::vector<Item> rows() const override;
    void choose(int row) override;
    bool takeKey(int key, char text, int row) override;
    std::string notice() const override { return screen.problem(); }

private:
    void applyChange() const;

    Settings& settings;
    SettingsScreen screen;
    bool soundOff;
};

// The address typed on the Join screen becomes the `join` setting of `settings`, for the rest
// of this game, and is written to the settings file `path`. Empty, or why it could not be
// written (naming the file).
std::string rememberJoinAddress(Settings& settings, const std::string& path,
                                const std::string& address);

}  // namespace menu
