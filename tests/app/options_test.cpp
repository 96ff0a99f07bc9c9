// Reading the command line: options, their values, and the mistakes that stop the game.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/config/options.h"
#include "tests/support/scratch_folder.h"

namespace {

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "vorlaxis");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLineTest, OptionsCombineAndTheCameraTakesTheNextArgumentOrAnEqualsSign) {
    CommandLine none = parse({});
    EXPECT_EQ(none.action, CommandLine::PLAY);
    EXPECT_EQ(none.options.camera, "");
    EXPECT_FALSE(none.options.keyboard || none.options.mute || none.options.endless);

    CommandLine all = parse({"--mute", "--camera", "/tmp/a clip.y4m", "--endless"});
    EXPECT_EQ(all.action, CommandLine::PLAY);
    EXPECT_EQ(all.options.camera, "/tmp/a clip.y4m");
    EXPECT_TRUE(all.options.mute && all.options.endless);
    EXPECT_FALSE(all.options.keyboard);

    EXPECT_EQ(parse({"--camera=2"}).options.camera, "2");
    EXPECT_TRUE(parse({"--keyboard", "--mute"}).options.keyboard);
}

TEST(CommandLineTest, MistakesNameWhatIsWrong) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--mute", "-k"}, "unknown option '-k'"},
        {{"clip.y4m"}, "unexpected argument 'clip.y4m'"},
        {{"--camera"}, "option '--camera' needs a value"},
        {{"--camera="}, "option '--camera' needs a value"},
        {{"--camera", "--mute"}, "option '--camera' needs a value"},
        {{"--keyboardx"}, "unknown option '--keyboardx'"},
        {{"--keyboard", "--camera", "/dev/video0"},
         "options '--keyboard' and '--camera' exclude each other"},
    };
    for (const auto& [args, fault] : cases) {
        CommandLine line = parse(args);
        EXPECT_EQ(line.action, CommandLine::FAULT) << fault;
        EXPECT_EQ(line.fault, fault);
    }
}

TEST(CommandLineTest, PrintReadingsTakesAClipAndTheRecognitionAndPlaysNoMatch) {
    const Options room = parse({"--camera", "a.y4m", "--print-readings", "--vision=room"}).options;
    EXPECT_TRUE(room.printReadings && room.visionGiven);
    EXPECT_EQ(room.vision, VisionMode::ROOM);
    const Options plain = parse({"--vision", "classic"}).options;
    EXPECT_EQ(plain.vision, VisionMode::CLASSIC);
    EXPECT_TRUE(plain.visionGiven && !plain.printReadings);
    EXPECT_EQ(parse({"--record-camera=seen.y4m"}).options.recordCamera, "seen.y4m");
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--vision"}, "option '--vision' needs classic or room"},
        {{"--vision", "ROOM"}, "option '--vision' needs classic or room"},
        {{"--vision", "--mute"}, "option '--vision' needs classic or room"},
        {{"--print-readings"}, "option '--print-readings' needs '--camera CLIP'"},
        {{"--print-readings", "--camera", "a.y4m", "--simulate"},
         "option '--print-readings' plays no match: it excludes '--simulate', '--replay', "
         "'--host', '--join' and the players' sources"},
        {{"--print-readings", "--camera", "a.y4m", "--computer"},
         "option '--print-readings' plays no match: it excludes '--simulate', '--replay', "
         "'--host', '--join' and the players' sources"},
        {{"--record-camera"}, "option '--record-camera' needs a file name"},
        {{"--record-camera", "a.y4m", "--keyboard"},
         "option '--record-camera' needs a run on the camera: it excludes '--print-readings', "
         "'--simulate', '--replay' and '--keyboard'"},
    };
    for (const auto& [args, fault] : cases) {
        CommandLine line = parse(args);
        EXPECT_EQ(line.action, CommandLine::FAULT) << fault;
        EXPECT_EQ(line.fault, fault);
    }
}

TEST(CommandLineTest, ReplayOptionsTakeAFileAndRefuseWhatCannotGoWithThem) {
    const Options watch = parse({"--replay", "last", "--mute", "--record=/tmp/a.vxr"}).options;
    EXPECT_EQ(watch.replay, "last");
    EXPECT_EQ(watch.record, "/tmp/a.vxr");
    EXPECT_FALSE(watch.simulate || watch.noRecord);
    const Options check = parse({"--replay=run.vxr", "--simulate", "--no-record"}).options;
    EXPECT_TRUE(check.simulate && check.noRecord);
    EXPECT_EQ(check.replay, "run.vxr");

    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--record"}, "option '--record' needs a file name"},
        {{"--replay=", "--mute"}, "option '--replay' needs a file name"},
        {{"--record", "a.vxr", "--no-record"},
         "options '--record' and '--no-record' exclude each other"},
        {{"--replay", "a.vxr", "--keyboard"},
         "option '--replay' plays the recorded input: it excludes '--keyboard', '--camera' and "
         "the players' sources"},
    };
    for (const auto& [args, fault] : cases) EXPECT_EQ(parse(args).fault, fault);
}

std::string sides(const CommandLine& line) {
    if (line.action == CommandLine::FAULT) return line.fault;
    return play::describe(line.options.player1) + " / " + play::describe(line.options.player2);
}

// The sides not named follow --keyboard; --computer is player 2; --simulate takes only sides
// that need no device; a run that never ends cannot count its matches.
TEST(CommandLineTest, EachSideHasItsSourceAndTheRunItsLength) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{}, "camera / camera"},
        {{"--keyboard"}, "keyboard / keyboard"},
        {{"--keyboard", "--computer=easy"}, "keyboard / computer easy"},
        {{"--computer"}, "camera / computer normal"},
        {{"--player1", "computer:hard", "--player2=computer"}, "computer hard / computer normal"},
        {{"--player1", "keyboard", "--player2", "camera"}, "keyboard / camera"},
        {{"--player2", "robot"},
         "option '--player2' needs camera, keyboard, gamepad, computer, computer:easy, "
         "computer:normal or computer:hard"},
        {{"--computer=expert"}, "option '--computer' takes easy, normal or hard"},
        {{"--keyboard", "--player1", "camera"},
         "option '--keyboard' opens no camera, but a player is on the camera"},
        {{"--camera", "1", "--player1", "keyboard", "--computer"},
         "option '--camera' needs a player on the camera"},
        {{"--simulate", "--computer"},
         "option '--simulate' opens no window or camera, but player 1 plays on the camera: "
         "choose --player1 computer[:LEVEL]"},
        {{"--sync-test", "--player1", "computer", "--player2", "gamepad"},
         "option '--sync-test' opens no window or camera, but player 2 plays on a gamepad: "
         "choose --player2 computer[:LEVEL]"},
        {{"--matches", "3", "--endless", "--computer"},
         "options '--matches' and '--endless' exclude each other: an endless match never "
         "finishes"},
        {{"--matches", "0"}, "option '--matches' needs a number from 1 to 1000000"},
        {{"--seed", "12345678901234567890"},
         "option '--seed' needs a whole number of up to 19 digits"},
    };
    for (const auto& [args, expected] : cases) EXPECT_EQ(sides(parse(args)), expected);

    const CommandLine run = parse({"--simulate", "--player1=computer:easy", "--player2",
                                   "computer:hard", "--matches=7", "--seed", "9999999999"});
    EXPECT_TRUE(run.options.simulate && run.options.seedGiven);
    EXPECT_EQ(run.options.matches, 7);
    EXPECT_EQ(run.options.seed, 9999999999ULL);
}

std::string network(const CommandLine& line) {
    if (line.action == CommandLine::FAULT) return line.fault;
    const Options& o = line.options;
    const char* role = o.net == Options::Net::HOST ? "host" : "join";
    if (o.net == Options::Net::NONE) role = "none";
    return std::string(role) + " [" + o.joinAddress + "]:" + std::to_string(o.port) + " delay " +
           std::to_string(o.inputDelay) + ", " + sides(line);
}

// The other machine's side is the network's; the local side follows the usual rules.
TEST(CommandLineTest, NetworkPlayTakesItsRoleAddressAndPort) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{}, "none []:7461 delay 2, camera / camera"},
        {{"--host"}, "host []:7461 delay 2, camera / network"},
        {{"--host", "9000", "--player1", "keyboard"}, "host []:9000 delay 2, keyboard / network"},
        {{"--host", "0", "--keyboard", "--input-delay", "0"},
         "host []:0 delay 0, keyboard / network"},
        {{"--host=65535", "--mute"}, "host []:65535 delay 2, camera / network"},
        {{"--host", "--input-delay=8", "--seed", "5", "--matches", "3", "--turn-rate", "30"},
         "host []:7461 delay 8, camera / network"},
        {{"--host", "--simulate", "--player1", "computer"},
         "host []:7461 delay 2, computer normal / network"},
        {{"--join", "192.168.1.5"}, "join [192.168.1.5]:7461 delay 2, network / camera"},
        {{"--join=192.168.1.5:9000", "--keyboard"},
         "join [192.168.1.5]:9000 delay 2, network / keyboard"},
        {{"--join", "[2001:db8::1]"}, "join [2001:db8::1]:7461 delay 2, network / camera"},
        {{"--join", "[2001:db8::1]:9000", "--player2", "gamepad"},
         "join [2001:db8::1]:9000 delay 2, network / gamepad"},
        {{"--join", "::1"}, "join [::1]:7461 delay 2, network / camera"},
        {{"--join", "fe80::1%eth0"}, "join [fe80::1%eth0]:7461 delay 2, network / camera"},
        {{"--join", "gamebox.local:9000", "--computer=hard"},
         "join [gamebox.local]:9000 delay 2, network / computer hard"},
    };
    for (const auto& [args, expected] : cases) EXPECT_EQ(network(parse(args)), expected);
}

TEST(CommandLineTest, NetworkPlayRefusesWhatTheOtherMachineOrTheHostDecides) {
    const std::string joinNeeds =
        "option '--join' needs the host's address: 192.168.1.5, [2001:db8::1] or a host name, "
        "then :PORT if need be";
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--host", "--join", "a"}, "options '--host' and '--join' exclude each other"},
        {{"--join", "a", "--host", "9000"}, "options '--host' and '--join' exclude each other"},
        {{"--host", "65536"}, "option '--host' takes a port from 0 to 65535"},
        {{"--host=x"}, "option '--host' takes a port from 0 to 65535"},
        {{"--join"}, joinNeeds},
        {{"--join", "--keyboard"}, joinNeeds},
        {{"--join", "[2001:db8::1"}, joinNeeds},
        {{"--join", "[2001:db8::1]9000"}, joinNeeds},
        {{"--join", "[gamebox]"}, joinNeeds},
        {{"--join", ":9000"}, joinNeeds},
        {{"--join", "-x"}, joinNeeds},
        {{"--join", "game box"}, joinNeeds},
        {{"--join", "a:0"}, "option '--join' takes a port from 1 to 65535"},
        {{"--join", "[::1]:"}, "option '--join' takes a port from 1 to 65535"},
        {{"--join", "a:99999"}, "option '--join' takes a port from 1 to 65535"},
        {{"--input-delay", "2"}, "option '--input-delay' only goes with '--host' or '--join'"},
        {{"--host", "--input-delay", "9"}, "option '--input-delay' needs a number from 0 to 8"},
        {{"--host", "--player2", "keyboard"},
         "option '--player2' names the other machine's player: with --host you play player 1"},
        {{"--host", "--computer"},
         "option '--computer' names the other machine's player: with --host you play player 1"},
        {{"--player1=camera", "--join", "a"},
         "option '--player1' names the other machine's player: with --join you play player 2"},
        {{"--host", "--turn-rate", "0"},
         "option '--turn-rate' cannot be 0 in a network match: both machines play the turns at "
         "one pace"},
        {{"--host", "--replay", "last"}, "options '--replay' and '--host' exclude each other"},
        {{"--join", "a", "--sync-test"}, "options '--sync-test' and '--join' exclude each other"},
        {{"--join", "a", "--seed", "5"},
         "option '--seed' is not for --join: the host chooses the seed"},
        {{"--join", "a", "--matches", "3"},
         "option '--matches' is not for --join: the host chooses the number of matches"},
        {{"--join", "a", "--endless"},
         "option '--endless' is not for --join: the host chooses whether the match is endless"},
        {{"--join", "a", "--turn-rate", "60"},
         "option '--turn-rate' is not for --join: the host chooses the turn rate"},
        {{"--join", "a", "--simulate"},
         "option '--simulate' opens no window or camera, but player 2 plays on the camera: "
         "choose --player2 computer[:LEVEL]"},
    };
    for (const auto& [args, expected] : cases) {
        const CommandLine line = parse(args);
        EXPECT_EQ(line.action, CommandLine::FAULT) << expected;
        EXPECT_EQ(line.fault, expected);
    }
}

// The settings file's turn rate of 0 only shows once the file is read; the joiner's is the
// host's anyway.
TEST(CommandLineTest, AHostRefusesTheSettingsFilesTurnRateOfZero) {
    testsupport::ScratchFolder folder("net-settings");
    folder.write("fast.conf", "turn-rate = 0\n");
    const std::string config = folder.file("fast.conf");
    Options host = parse({"--host", "--config", config.c_str()}).options;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadSettings(host));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vorlaxis: the turn-rate of " + config +
                  " cannot be 0 in a network match: both machines play the turns at one pace\n");
    Options paced = parse({"--host", "--turn-rate=30", "--config", config.c_str()}).options;
    EXPECT_TRUE(loadSettings(paced));
    EXPECT_EQ(paced.turnRate, 30);
    Options joiner = parse({"--join", "a", "--config", config.c_str()}).options;
    EXPECT_TRUE(loadSettings(joiner));
}

TEST(CommandLineTest, TheFirstCommandOrMistakeDecides) {
    EXPECT_EQ(parse({"--mute", "--help", "--bogus"}).action, CommandLine::HELP);
    EXPECT_EQ(parse({"--version"}).action, CommandLine::VERSION);
    EXPECT_EQ(parse({"--list-cameras", "--help"}).action, CommandLine::LIST_CAMERAS);
    EXPECT_EQ(parse({"--bogus", "--help"}).action, CommandLine::FAULT);
}

TEST(CommandLineTest, OnlyDigitsNameACaptureDriver) {
    EXPECT_EQ(cameraDriverNumber("0"), 0);
    EXPECT_EQ(cameraDriverNumber("12"), 12);
    for (const char* path : {"", "/dev/video0", "1.y4m", "-1", "99999999999"})
        EXPECT_EQ(cameraDriverNumber(path), -1) << path;
}

TEST(CommandLineTest, TheUsageListsEveryOptionOnALineOfItsOwn) {
    std::istringstream usage(usageText());
    std::vector<std::string> options;
    for (std::string line; std::getline(usage, line);)
        if (line.rfind("  --", 0) == 0) options.push_back(line.substr(2, line.find(' ', 2) - 2));
    EXPECT_EQ(options,
              (std::vector<std::string>{"--menu",           "--camera",        "--keyboard",
                                        "--player1",        "--player2",       "--computer[=LEVEL]",
                                        "--seed",           "--matches",       "--simulate",
                                        "--sync-test",      "--host",          "--join",
                                        "--input-delay",    "--mute",          "--endless",
                                        "--fullscreen",     "--turn-rate",     "--config",
                                        "--write-config",   "--force",         "--record",
                                        "--no-record",      "--replay",        "--vision",
                                        "--print-readings", "--record-camera", "--list-cameras",
                                        "--list-gamepads",  "--help",          "--version"}));
    EXPECT_EQ(std::string(versionText()).rfind("vorlaxis ", 0), 0u);
}

}  // namespace
