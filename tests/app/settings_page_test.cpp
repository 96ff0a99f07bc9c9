// The Settings page inside the menu: Escape while a key is awaited kept by the page, not taken
// for back; a file that cannot be written named under the rows while the change holds; the
// Join screen's address kept; and a long page scrolled to its highlight. The screen's own
// rows, keys and steps are checked in settings_saving_test.cpp.
#include <gtest/gtest.h>

#include <SDL/SDL_keysym.h>

#include <filesystem>
#include <string>

#include "app/menu/menu_model.h"
#include "app/menu/row_window.h"
#include "app/menu/settings_page.h"
#include "tests/support/scratch_folder.h"

namespace {

using menu::MenuModel;
using menu::Screen;
using testsupport::ScratchFolder;

// The menu on its Settings page, over `settings` saved in `path`.
struct SettingsMenu {
    SettingsMenu(Settings& settings, const std::string& path)
        : page(settings, path, true), model(menu::Devices{}, {}) {
        model.attach("Settings", page);
        model.move(7);
        model.choose();
    }
    // A key pressed as the screen hands it over: the page's first, else the menu's own.
    void press(int key) {
        if (model.type(key, 0)) return;
        if (key == SDLK_RETURN) model.choose();
        if (key == SDLK_ESCAPE) model.back();
        if (key == SDLK_DOWN) model.move(1);
    }
    const menu::Item& row(int at) const { return model.items()[static_cast<size_t>(at)]; }

    menu::SettingsPage page;
    MenuModel model;
};

TEST(SettingsPage, AFileThatCannotBeWrittenIsNamedUnderTheRowsAndTheChangeStillHolds) {
    ScratchFolder folder("unwritable");
    const std::string path = folder.file("vorlaxis.conf");
    std::filesystem::create_directory(path);
    Settings settings;
    SettingsMenu menu(settings, path);
    ASSERT_EQ(menu.model.screen(), Screen::PAGE);
    // Escape while a key is awaited cancels the wait and stays on the page.
    menu.press(SDLK_RETURN);
    EXPECT_EQ(menu.row(0).value, "press a key");
    menu.press(SDLK_ESCAPE);
    EXPECT_EQ(menu.model.screen(), Screen::PAGE);
    EXPECT_EQ(menu.row(0).value, "a");
    menu.press(SDLK_RETURN);
    menu.press(SDLK_j);
    EXPECT_EQ(settings.keys[0].left, SDLK_j);
    EXPECT_EQ(menu.row(0).value, "j");
    EXPECT_NE(menu.model.notice().find(path), std::string::npos) << menu.model.notice();
    EXPECT_TRUE(std::filesystem::is_directory(path));
    menu.press(SDLK_ESCAPE);
    EXPECT_EQ(menu.model.screen(), Screen::TITLE);
    EXPECT_EQ(menu.model.notice(), "") << "the page's notice is the page's only";

    // The Join screen's address: kept for the game either way, said when it is not saved.
    const std::string why = menu::rememberJoinAddress(settings, path, "10.0.0.2");
    EXPECT_NE(why.find(path), std::string::npos) << why;
    EXPECT_EQ(settings.join, "10.0.0.2");
    const std::string file = folder.file("other.conf");
    EXPECT_EQ(menu::rememberJoinAddress(settings, file, "10.0.0.3"), "");
    std::vector<std::string> errors;
    EXPECT_EQ(readSettings(file, errors).join, "10.0.0.3");
}

TEST(SettingsPage, ALongListScrollsOnlyAsFarAsKeepsTheHighlightInView) {
    int first = 0;
    const int expected[][2] = {{0, 0}, {8, 0}, {9, 1}, {18, 10}, {12, 10}, {9, 9}, {0, 0}};
    for (const auto& step : expected) {
        first = menu::firstRowShown(first, step[0], 19, 9);
        EXPECT_EQ(first, step[1]) << "highlight " << step[0];
    }
    EXPECT_EQ(menu::firstRowShown(5, 8, 9, 9), 0) << "a list that fits never scrolls";
}

}  // namespace
