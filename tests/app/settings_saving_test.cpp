// Changes made in the game saved into the settings file: a hand-written file keeps every line
// but the changed ones, a missing file is made, a file that cannot be written is named and
// left whole; and the Settings screen's rows, key choice and steps, saved as they happen.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/config/settings.h"
#include "app/config/settings_writer.h"
#include "app/menu/settings_screen.h"
#include "app/panel/panel_feed.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ScratchFolder;

// A file as a player writes it: a byte order mark, comments, blank lines, CR LF and LF ends,
// indents, a name the game does not know, a wrong line, a setting named twice, no last end.
const std::string kHandWritten =
    "\xef\xbb\xbf# my keys\r\n"
    "\r\n"
    "  player1.left=q   \r\n"
    "player1.left = w\n"
    "# player1.right = k\n"
    "colour = red\n"
    "fullscreen = maybe\n"
    "\tplayer2.rock\t=\tb\n"
    "turn-rate = 30";

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

Settings readBack(const std::string& path) {
    std::vector<std::string> errors;
    return readSettings(path, errors);
}

TEST(SettingsSaving, AHandWrittenFileChangesOnlyTheChangedLinesAndGainsTheMissingOnes) {
    ScratchFolder folder("saving");
    const std::string path = folder.file("vorlaxis.conf");
    folder.write("vorlaxis.conf", kHandWritten);
    const Settings before = readBack(path);
    ASSERT_EQ(before.keys[0].left, SDLK_q);

    Settings after = before;
    after.keys[0].left = SDLK_j;
    std::string error;
    ASSERT_TRUE(saveSettingsChanges(path, before, after, error)) << error;
    std::string wanted = kHandWritten;
    wanted.replace(wanted.find("  player1.left=q   "), 19, "player1.left = j");
    EXPECT_EQ(contents(path), wanted) << "only the line the game reads changes";
    EXPECT_EQ(folderNames(folder.path()), std::vector<std::string>{"vorlaxis.conf"});

    // Settings with no line are added at the end, with the file's own line ends; one that
    // did not change is not written, wrong as its line may be.
    Settings more = after;
    more.volume = 64;
    more.join = "192.168.1.20:7777";
    more.turnRate = 30;
    ASSERT_TRUE(saveSettingsChanges(path, after, more, error)) << error;
    EXPECT_EQ(contents(path), wanted + "\r\nvolume = 64\r\njoin = 192.168.1.20:7777\r\n");
    const Settings read = readBack(path);
    EXPECT_EQ(read.keys[0].left, SDLK_j);
    EXPECT_EQ(read.volume, 64);
    EXPECT_EQ(read.join, "192.168.1.20:7777");

    // Nothing changed: the file is not even replaced.
    const fs::file_time_type written = fs::last_write_time(path);
    ASSERT_TRUE(saveSettingsChanges(path, more, more, error));
    EXPECT_EQ(fs::last_write_time(path), written);
}

TEST(SettingsSaving, AMissingFileIsMadeFromTheDefaultsWithTheChangeAndKeepsPermissionsAndLinks) {
    ScratchFolder folder("saving");
    const std::string path = folder.file("new/folder/vorlaxis.conf");
    Settings after;
    after.keys[0].left = SDLK_j;
    after.join = "host.example";
    std::string error;
    ASSERT_TRUE(saveSettingsChanges(path, Settings(), after, error)) << error;
    std::string wanted = defaultSettingsText();
    wanted.replace(wanted.find("player1.left = a\n"), 17, "player1.left = j\n");
    wanted.replace(wanted.find("join =\n"), 7, "join = host.example\n");
    EXPECT_EQ(contents(path), wanted);
    std::vector<std::string> errors;
    EXPECT_EQ(readSettings(path, errors).join, "host.example");
    EXPECT_EQ(errors, std::vector<std::string>());

    // A private file stays private; a link made by a dotfile manager stays a link.
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    const std::string link = folder.file("link.conf");
    fs::create_symlink(path, link);
    Settings again = after;
    again.fullscreen = true;
    ASSERT_TRUE(saveSettingsChanges(link, after, again, error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(readBack(path).fullscreen);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(folderNames(folder.file("new/folder")), std::vector<std::string>{"vorlaxis.conf"});
}

TEST(SettingsSaving, AFileThatCannotBeWrittenIsNamedWithTheReasonAndNothingIsLost) {
    ScratchFolder folder("saving");
    Settings after;
    after.keys[0].left = SDLK_j;
    std::string error;

    // A folder where the file should be: it and what it holds stay.
    const std::string inTheWay = folder.file("vorlaxis.conf");
    fs::create_directory(inTheWay);
    folder.write("vorlaxis.conf/mine.txt", "keep me");
    EXPECT_FALSE(saveSettingsChanges(inTheWay, Settings(), after, error));
    EXPECT_EQ(error, "cannot save the settings in " + inTheWay + " (Is a directory)");
    EXPECT_EQ(contents(folder.file("vorlaxis.conf/mine.txt")), "keep me");
    EXPECT_EQ(folderNames(folder.path()), std::vector<std::string>{"vorlaxis.conf"});

    // A file where the folder should be.
    folder.write("plain", "not a folder");
    const std::string under = folder.file("plain/vorlaxis.conf");
    EXPECT_FALSE(saveSettingsChanges(under, Settings(), after, error));
    EXPECT_EQ(error, "cannot save the settings in " + under + " (Not a directory)");
    EXPECT_EQ(contents(folder.file("plain")), "not a folder");

    // A folder the file cannot be made in (root may write anywhere: then it is written).
    const std::string locked = folder.file("locked");
    fs::create_directory(locked);
    folder.write("locked/vorlaxis.conf", kHandWritten);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const bool saved = saveSettingsChanges(locked + "/vorlaxis.conf", Settings(), after, error);
    if (geteuid() != 0) {
        EXPECT_FALSE(saved);
        EXPECT_EQ(error,
                  "cannot save the settings in " + locked + "/vorlaxis.conf (Permission denied)");
        EXPECT_EQ(contents(locked + "/vorlaxis.conf"), kHandWritten);
    }
    EXPECT_EQ(folderNames(locked), std::vector<std::string>{"vorlaxis.conf"});
    fs::permissions(locked, fs::perms::owner_all);

    // No folder to put the file in at all.
    EXPECT_FALSE(saveSettingsChanges("", Settings(), after, error));
    EXPECT_NE(error.find("no folder for the settings"), std::string::npos) << error;
}

// The rows of the screen, by label.
int rowOf(const menu::SettingsScreen& screen, const std::string& label) {
    const std::vector<menu::SettingRow> rows = screen.rows();
    for (size_t row = 0; row < rows.size(); ++row)
        if (rows[row].label == label) return static_cast<int>(row);
    ADD_FAILURE() << "no row " << label;
    return -1;
}

std::string valueOf(const menu::SettingsScreen& screen, const std::string& label) {
    return screen.rows()[rowOf(screen, label)].value;
}

TEST(SettingsScreen, TheRowsComeKeysFirstThenButtonsScreenSoundAndRecognition) {
    Settings settings;
    menu::SettingsScreen screen(settings, "");
    std::string labels, values;
    for (const menu::SettingRow& row : screen.rows()) {
        labels += row.label + ";";
        values += row.value + ";";
    }
    EXPECT_EQ(labels,
              "Player 1 left;Player 1 right;Player 1 rock;Player 1 paper;Player 1 scissors;"
              "Player 2 left;Player 2 right;Player 2 rock;Player 2 paper;Player 2 scissors;"
              "Gamepad rock button;Gamepad paper button;Gamepad scissors button;"
              "Gamepad pause button;Fullscreen;Sound;Volume;Turn rate;Recognition;");
    EXPECT_EQ(values, "a;d;z;x;c;left;right;b;n;m;0;1;2;7;no;on;128;60;classic;");
    EXPECT_EQ(screen.rowCount(), 19);
}

TEST(SettingsScreen, AKeyChosenByPressingItIsSavedShownInThePanelAndEscapeKeepsTheOld) {
    ScratchFolder folder("screen");
    const std::string path = folder.file("vorlaxis.conf");
    folder.write("vorlaxis.conf", kHandWritten);
    Settings settings = readBack(path);
    menu::SettingsScreen screen(settings, path);
    const int left = rowOf(screen, "Player 1 left");

    screen.choose(left);
    EXPECT_TRUE(screen.waitingForKey());
    EXPECT_EQ(valueOf(screen, "Player 1 left"), "press a key");
    screen.cancel();
    EXPECT_FALSE(screen.waitingForKey());
    EXPECT_EQ(valueOf(screen, "Player 1 left"), "q");
    EXPECT_EQ(contents(path), kHandWritten);

    screen.choose(left);
    screen.keyPressed(SDLK_F5);
    EXPECT_TRUE(screen.waitingForKey()) << "f5 is refused and another key awaited";
    EXPECT_EQ(screen.problem(), "press a key other than f5, which calibrates the camera again");
    screen.keyPressed(SDLK_ESCAPE);
    EXPECT_FALSE(screen.waitingForKey());
    EXPECT_EQ(settings.keys[0].left, SDLK_q);
    EXPECT_EQ(screen.problem(), "");

    screen.choose(left);
    screen.keyPressed(SDLK_j);
    EXPECT_FALSE(screen.waitingForKey());
    EXPECT_EQ(screen.problem(), "");
    EXPECT_EQ(settings.keys[0].left, SDLK_j);
    EXPECT_EQ(panelFeed.keys[0][0].load(), SDLK_j) << "the keyboard panel shows the new key";
    std::string wanted = kHandWritten;
    wanted.replace(wanted.find("  player1.left=q   "), 19, "player1.left = j");
    EXPECT_EQ(contents(path), wanted);

    // Player 2's rock key taken for player 1's right: the two swap, both saved.
    screen.choose(rowOf(screen, "Player 1 right"));
    screen.keyPressed(SDLK_b);
    EXPECT_EQ(valueOf(screen, "Player 1 right"), "b");
    EXPECT_EQ(valueOf(screen, "Player 2 rock"), "d");
    const Settings read = readBack(path);
    EXPECT_EQ(read.keys[0].right, SDLK_b);
    EXPECT_EQ(read.keys[1].rock, SDLK_d);
    EXPECT_EQ(panelFeed.keys[1][2].load(), SDLK_d);
    publishKeys(Settings());
}

TEST(SettingsScreen, ChoicesAndStepsSwitchAndHoldWithinRangeAndAnUnwritableFileIsNamed) {
    ScratchFolder folder("screen");
    const std::string path = folder.file("vorlaxis.conf");
    Settings settings;
    menu::SettingsScreen screen(settings, path);
    screen.choose(rowOf(screen, "Sound"));
    EXPECT_EQ(valueOf(screen, "Sound"), "off");
    EXPECT_TRUE(settings.mute);
    screen.adjust(rowOf(screen, "Recognition"), -1);
    EXPECT_EQ(settings.vision, VisionMode::ROOM);
    screen.adjust(rowOf(screen, "Volume"), +1);
    EXPECT_EQ(settings.volume, 128) << "held at its largest";
    for (int step = 0; step < 20; ++step) screen.adjust(rowOf(screen, "Volume"), -1);
    EXPECT_EQ(settings.volume, 0) << "held at its smallest";
    screen.choose(rowOf(screen, "Gamepad pause button"));
    EXPECT_EQ(settings.pauseButton, 8);
    const Settings read = readBack(path);
    EXPECT_TRUE(read.mute);
    EXPECT_EQ(read.vision, VisionMode::ROOM);
    EXPECT_EQ(read.volume, 0);
    EXPECT_EQ(read.pauseButton, 8);

    // The file cannot be written: the screen names it, the change holds for this run, and
    // the next save that can be written brings every change made meanwhile.
    fs::remove(path);
    fs::create_directory(path);
    screen.choose(rowOf(screen, "Fullscreen"));
    EXPECT_TRUE(settings.fullscreen);
    EXPECT_EQ(screen.problem(), "cannot save the settings in " + path + " (Is a directory)");
    fs::remove(path);
    screen.adjust(rowOf(screen, "Turn rate"), +1);
    EXPECT_EQ(screen.problem(), "");
    const Settings later = readBack(path);
    EXPECT_TRUE(later.fullscreen);
    EXPECT_EQ(later.turnRate, 70);
    EXPECT_EQ(later.volume, 0);
}

}  // namespace
