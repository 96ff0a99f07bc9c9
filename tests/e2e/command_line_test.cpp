// The command line of the real program: help, version and mistakes need no display and open
// no window; --list-cameras with none; --camera with a clip (winning over VORLAXIS_CAMERA) and
// with a file that is not there; --mute on a machine without an audio device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/capture/video_devices.h"
#include "tests/e2e/screen.h"

namespace {

using e2e::expectCleanEnd;
using e2e::GameProcess;

const char* const kPanel = "Vorlaxis - control panel";

using e2e::Outcome;
using e2e::runWithoutDisplay;

class CommandLineEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::exists(e2e::gamePath())) GTEST_SKIP() << e2e::gamePath() << " is not built";
    }
};

TEST_F(CommandLineEndToEnd, HelpAndVersionGoToStandardOutputWithoutADisplay) {
    const Outcome help = runWithoutDisplay({"--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out.rfind("Usage: vorlaxis [options]\n", 0), 0u) << help.out;
    for (const char* option :
         {"\n  --camera DEVICE|CLIP|N ", "\n  --keyboard ", "\n  --mute ", "\n  --endless ",
          "\n  --list-cameras ", "\n  --help ", "\n  --version "})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_EQ(help.err, "");

    const Outcome version = runWithoutDisplay({"--version"});
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, "vorlaxis " VORLAXIS_VERSION "\n");
}

TEST_F(CommandLineEndToEnd, AMistakeIsNamedWithTheUsageAndExitCode2BeforeAnyWindow) {
    const Outcome help = runWithoutDisplay({"--help"});
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--keyboard", "--bogus"}, "vorlaxis: unknown option '--bogus'\n"},
        {{"--camera"}, "vorlaxis: option '--camera' needs a value\n"},
    };
    for (const auto& [arguments, line] : cases) {
        const Outcome run = runWithoutDisplay(arguments);
        EXPECT_EQ(run.status, 2) << line;
        // Without a display, any attempt at a window would have failed with its own message.
        EXPECT_EQ(run.err, line + help.out);
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(CommandLineEndToEnd, ListingCamerasOnAMachineWithoutOneSaysSo) {
    if (testclip::anyVideoDevice()) GTEST_SKIP() << "this machine has a /dev/video device";
    const Outcome run = runWithoutDisplay({"--list-cameras"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "no camera found\n");
}

class CameraOptionEndToEnd : public e2e::ClipTest {
protected:
    const char* script() const override { return "fps 15\n15 rock 80,120 | paper 80,120\n"; }
};

TEST_F(CameraOptionEndToEnd, ItPlaysTheClipItNamesRatherThanTheOneOfTheEnvironment) {
    GameProcess game({"SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1",
                      "VORLAXIS_CAMERA=/nonexistent-from-the-environment.y4m"},
                     {"--camera", clip_});
    const std::string panel = game.waitForWindow(kPanel, e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game.err();
    EXPECT_TRUE(game.waitForOutput("Camera: clip " + clip_)) << game.out();
    e2e::capture("xdotool key --window " + panel + " Escape 2>/dev/null");
    expectCleanEnd(game);
}

TEST_F(CameraOptionEndToEnd, AFileThatIsNotThereEndsTheGameWithTheReasonAndCode1) {
    GameProcess game(
        {"SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1", "VORLAXIS_CAMERA=" + clip_},
        {"--camera=/nonexistent.y4m"});
    int status = -2;
    ASSERT_TRUE(game.wait(e2e::kStartSeconds, status)) << "the game did not end";
    EXPECT_EQ(status, 1);
    const std::string err = game.err();
    const size_t reason = err.find(
        "cannot open the clip /nonexistent.y4m: No such file or directory (from --camera)");
    const size_t verdict = err.find("Unable to connect to the camera");
    EXPECT_NE(reason, std::string::npos) << err;
    EXPECT_NE(verdict, std::string::npos) << err;
    EXPECT_LT(reason, verdict) << "the reason comes first: " << err;
}

TEST_F(CameraOptionEndToEnd, MutePlaysOnAMachineWithoutAnAudioDevice) {
    // SDL picks its own audio driver: on a machine with a sound device the game starts anyway.
    GameProcess loud({"SDL_AUDIODRIVER", "LIBGL_ALWAYS_SOFTWARE=1"}, {"--keyboard"});
    if (!loud.waitForWindow(kPanel, e2e::kStartSeconds).empty())
        GTEST_SKIP() << "this machine has an audio device";
    int status = -2;
    ASSERT_TRUE(loud.wait(30, status)) << "the game neither started nor ended";
    EXPECT_EQ(status, 1);
    EXPECT_NE(loud.err().find("Unable to initialize audio: "), std::string::npos) << loud.err();
    EXPECT_NE(loud.err().find("\nStart the game with --mute to play without sound.\n"),
              std::string::npos)
        << loud.err();

    GameProcess muted({"SDL_AUDIODRIVER", "LIBGL_ALWAYS_SOFTWARE=1"}, {"--keyboard", "--mute"});
    const std::string panel = muted.waitForWindow(kPanel, e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << muted.err();
    e2e::capture("xdotool key --window " + panel + " Escape 2>/dev/null");
    expectCleanEnd(muted);
}

}  // namespace
