// The settings file as a player meets it: every setting changed, a file full of mistakes,
// the written defaults read back, and --write-config and --config through the command line.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/config/key_names.h"
#include "app/config/options.h"
#include "app/config/settings.h"
#include "app/config/settings_fields.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scratch_folder.h"

namespace {

using testsupport::ScratchFolder;

// Every setting's value as the file spells it, in the file's order.
std::string spelled(Settings settings) {
    std::string text;
    for (const SettingField& field : settingFields(settings))
        text += std::string(field.name) + "=" + fieldText(field) + ";";
    return text;
}

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "vorlaxis");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(SettingsTest, EverySettingInTheFileIsObeyed) {
    ScratchFolder folder("settings");
    folder.write("all.conf",
                 "# mine\r\n"
                 "player1.left = Left Shift\r\n"
                 "  player1.right=space  \n"
                 "player1.rock = [0]\n"
                 "player1.paper = =\n"
                 "player1.scissors = #\n"
                 "\n"
                 "player2.left = a\n"
                 "player2.right = f12\n"
                 "player2.rock = page up\n"
                 "player2.paper = world 5\n"
                 "player2.scissors = right ctrl\n"
                 "player1.gamepad = 1\n"
                 "player2.gamepad = 0\n"
                 "gamepad.rock = 3\n"
                 "gamepad.paper = 4\n"
                 "gamepad.scissors = 5\n"
                 "gamepad.pause = 9\n"
                 "gamepad.walk-axis = 2\n"
                 "gamepad.deadzone = 12000\n"
                 "fullscreen = yes\n"
                 "mute = On\n"
                 "turn-rate = 0\n"
                 "volume = 64\n"
                 "join =  my host : 7000 \n");
    std::vector<std::string> errors;
    const Settings s = readSettings(folder.file("all.conf"), errors);
    EXPECT_EQ(errors, std::vector<std::string>());
    const PlayerKeys& one = s.keys[0];
    const PlayerKeys& two = s.keys[1];
    EXPECT_EQ((std::vector<int>{one.left, one.right, one.rock, one.paper, one.scissors}),
              (std::vector<int>{SDLK_LSHIFT, SDLK_SPACE, SDLK_KP0, SDLK_EQUALS, SDLK_HASH}));
    EXPECT_EQ((std::vector<int>{two.left, two.right, two.rock, two.paper, two.scissors}),
              (std::vector<int>{SDLK_a, SDLK_F12, SDLK_PAGEUP, SDLK_WORLD_5, SDLK_RCTRL}));
    EXPECT_EQ(
        (std::vector<int>{s.gamepad[0], s.gamepad[1], s.rockButton, s.paperButton, s.scissorsButton,
                          s.pauseButton, s.walkAxis, s.deadZone, s.fullscreen, s.mute, s.turnRate}),
        (std::vector<int>{1, 0, 3, 4, 5, 9, 2, 12000, 1, 1, 0}));
    EXPECT_EQ(s.volume, 64);
    EXPECT_EQ(s.join, "my host : 7000");
}

TEST(SettingsTest, EachWrongLineIsNamedAndKeepsItsDefaultWhileTheRestIsRead) {
    ScratchFolder folder("settings");
    const std::string path = folder.file("bad.conf");
    folder.write("bad.conf",
                 "loudness = 11\n"              // 1
                 "gamepad.deadzone = 99999\n"   // 2
                 "fullscreen\n"                 // 3
                 "player1.rock = hyperspace\n"  // 4
                 "player1.left = " +
                     std::string(5000, 'x') +
                     "\n"                     // 5
                     "mute = \x01\x02\xff\n"  // 6
                     "turn-rate = 30\n"       // 7
                     "turn-rate = 90\n"       // 8
                     "player2.rock = -5\n"    // 9
                     "player2.paper = q\n"    // 10
                     "player1.paper = q\n"    // 11
                     "gamepad.pause = 5" +
                     std::string(1, '\0') +
                     "\n"                     // 12
                     "fullscreen = maybe\n"   // 13
                     "player2.left = F5\n");  // 14
    std::vector<std::string> errors;
    const Settings s = readSettings(path, errors);
    const std::vector<std::string> wanted = {
        path + ":1: unknown setting 'loudness'",
        path +
            ":2: 'gamepad.deadzone' must be a whole number from 0 to 32767, not '99999'; "
            "it stays 8000",
        path + ":3: no '=': a setting is written as 'name = value'",
        path + ":4: 'player1.rock' must be a key name SDL knows, not 'hyperspace'; it stays z",
        path + ":5: longer than 1000 characters: not a settings line",
        path + ":6: holds the control character 0x01: not a settings line",
        path + ":8: 'turn-rate' is already set on line 7; this line is ignored",
        path + ":9: 'player2.rock' must be a key name SDL knows, not '-5'; it stays b",
        path + ":12: holds the control character 0x00: not a settings line",
        path + ":13: 'fullscreen' must be yes or no, not 'maybe'; it stays no",
        path +
            ":14: 'player2.left' must be a key other than f5, which calibrates the camera "
            "again, not 'F5'; it stays left",
        path + ":11: key 'q' is already player2.paper; 'player1.paper' stays x",
    };
    EXPECT_EQ(errors, wanted);
    Settings expected;
    expected.turnRate = 30;
    expected.keys[1].paper = SDLK_q;
    EXPECT_EQ(spelled(s), spelled(expected));

    // Neither a huge file nor one that cannot be read holds the game up.
    errors.clear();
    folder.write("huge.conf", "mute = yes\n" + std::string(3 << 20, '\n'));
    EXPECT_TRUE(readSettings(folder.file("huge.conf"), errors).mute);
    EXPECT_EQ(errors, std::vector<std::string>{folder.file("huge.conf") +
                                               ": longer than 1 MiB: only its beginning is read"});
    // Nor does a file of junk bury the terminal in complaints.
    errors.clear();
    std::string junk;
    for (int line = 0; line < 100; ++line) junk += "\x01\x7f\n";
    folder.write("junk.conf", junk);
    readSettings(folder.file("junk.conf"), errors);
    ASSERT_EQ(errors.size(), 21u);
    EXPECT_EQ(errors.back(), folder.file("junk.conf") + ": 80 more wrong lines are not listed");
    // Notepad's byte order mark is no part of the first setting's name.
    errors.clear();
    folder.write("notepad.conf", "\xef\xbb\xbfmute = yes\r\n");
    EXPECT_TRUE(readSettings(folder.file("notepad.conf"), errors).mute);
    EXPECT_EQ(errors, std::vector<std::string>());
    errors.clear();
    EXPECT_EQ(spelled(readSettings(folder.path(), errors)), spelled(Settings()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("cannot be read"), std::string::npos) << errors[0];
}

TEST(SettingsTest, WriteConfigWritesDefaultsThatReadBackAndKeepsAnExistingFile) {
    ScratchFolder folder("settings");
    const std::string path = folder.file("new/folder/vorlaxis.conf");
    const CommandLine write = parse({"--config", path.c_str(), "--write-config"});
    ASSERT_EQ(write.action, CommandLine::WRITE_CONFIG);
    EXPECT_EQ(runCommand(write), 0);
    std::vector<std::string> errors;
    EXPECT_EQ(spelled(readSettings(path, errors)), spelled(Settings()));
    EXPECT_EQ(errors, std::vector<std::string>());

    folder.write("new/folder/vorlaxis.conf", "mute = yes\n");
    EXPECT_EQ(runCommand(write), 1);
    EXPECT_TRUE(readSettings(path, errors).mute);
    EXPECT_EQ(runCommand(parse({"--write-config", "--force", "--config", path.c_str()})), 0);
    EXPECT_FALSE(readSettings(path, errors).mute);
    EXPECT_EQ(parse({"--force"}).fault, "option '--force' only goes with '--write-config'");
    EXPECT_EQ(parse({"--config"}).fault, "option '--config' needs a value");
}

TEST(SettingsTest, TheFileIsFoundThroughTheEnvironmentAndItsMuteAddsToTheCommandLine) {
    ScratchFolder folder("settings");
    testsupport::ScopedEnv home("HOME", folder.path());
    testsupport::ScopedEnv config("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(settingsPath(), folder.path() + "/.config/vorlaxis/vorlaxis.conf");
    config.set(folder.path().c_str());
    EXPECT_EQ(settingsPath(), folder.path() + "/vorlaxis/vorlaxis.conf");

    // No file at all: the defaults, silently.
    Options options = parse({}).options;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(loadSettings(options));
    EXPECT_FALSE(options.mute);
    std::filesystem::create_directory(folder.file("vorlaxis"));
    folder.write("vorlaxis/vorlaxis.conf", "mute = yes\nplayer1.left = q\n");
    EXPECT_TRUE(loadSettings(options));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(options.mute);
    EXPECT_EQ(options.settings.keys[0].left, SDLK_q);

    options = parse({"--mute", "--config", folder.file("other.conf").c_str()}).options;
    folder.write("other.conf", "mute = no\n");
    EXPECT_TRUE(loadSettings(options));
    EXPECT_TRUE(options.mute) << "the command line wins";
    // A relative --config names the same file once the game has moved into its data folder,
    // where the menu saves its changes.
    const std::filesystem::path start = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    options = parse({"--config", "other.conf"}).options;
    EXPECT_TRUE(loadSettings(options));
    std::filesystem::current_path("/");
    EXPECT_EQ(settingsFile(options), folder.file("other.conf"));
    std::filesystem::current_path(start);

    options.config = folder.file("typo.conf");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadSettings(options));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("typo.conf does not exist"),
              std::string::npos);
}

// The names are SDL's own, checked against SDL once its video driver is up to give them.
TEST(SettingsTest, KeyNamesAreSdlsAndNameOneKeyEach) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "SDL names keys only with a display (xvfb-run)";
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    int named = 0;
    for (int key = SDLK_FIRST; key < SDLK_LAST; ++key) {
        const std::string sdl = SDL_GetKeyName(static_cast<SDLKey>(key));
        const std::string ours = keyName(static_cast<SDLKey>(key));
        EXPECT_EQ(ours, sdl == "unknown key" ? "" : sdl) << key;
        if (!ours.empty()) {
            EXPECT_EQ(keyByName(ours), key) << ours;
        }
        named += !ours.empty();
    }
    SDL_Quit();
    EXPECT_EQ(named, 231);
}

}  // namespace

TEST(SettingsTest, TheVisionLinePicksTheRecognitionUnlessTheCommandLineDoes) {
    ScratchFolder folder("settings");
    std::vector<std::string> errors;
    EXPECT_EQ(Settings().vision, VisionMode::CLASSIC);
    folder.write("room.conf", "vision = Room\n");
    EXPECT_EQ(readSettings(folder.file("room.conf"), errors).vision, VisionMode::ROOM);
    folder.write("bad.conf", "vision = blurry\n");
    EXPECT_EQ(readSettings(folder.file("bad.conf"), errors).vision, VisionMode::CLASSIC);
    EXPECT_EQ(errors, std::vector<std::string>{folder.file("bad.conf") +
                                               ":1: 'vision' must be classic or room, not "
                                               "'blurry'; it stays classic"});
    EXPECT_NE(defaultSettingsText().find("\nvision = classic\n"), std::string::npos);

    Options options = parse({"--config", folder.file("room.conf").c_str()}).options;
    EXPECT_TRUE(loadSettings(options));
    EXPECT_EQ(options.vision, VisionMode::ROOM);
    options = parse({"--config", folder.file("room.conf").c_str(), "--vision", "classic"}).options;
    EXPECT_TRUE(loadSettings(options));
    EXPECT_EQ(options.vision, VisionMode::CLASSIC) << "the command line wins";
}
