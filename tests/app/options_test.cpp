// Reading the command line: options, their values, and the mistakes that stop the game.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/options.h"

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
         "option '--replay' plays the recorded input: it excludes '--keyboard' and '--camera'"},
        {{"--simulate"}, "option '--simulate' needs '--replay FILE'"},
    };
    for (const auto& [args, fault] : cases) EXPECT_EQ(parse(args).fault, fault);
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
              (std::vector<std::string>{"--camera", "--keyboard", "--mute", "--endless",
                                        "--fullscreen", "--turn-rate", "--config", "--write-config",
                                        "--force", "--record", "--no-record", "--replay",
                                        "--simulate", "--list-cameras", "--help", "--version"}));
    EXPECT_EQ(std::string(versionText()).rfind("vorlaxis ", 0), 0u);
}

}  // namespace
