// The whole program with a clip as its camera: the control panel's preview shows the clip,
// the worker grabs it back, Escape ends the program, and a missing camera ends it with a
// message and exit code 1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "tests/platform/capture/video_devices.h"
#include "tests/e2e/panel.h"
#include "tests/e2e/screen.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/y4m_writer.h"

using e2e::capture;
using e2e::GameProcess;
using e2e::maskShowsTheWhiteQuadrant;
using e2e::previewShowsQuadrants;
using e2e::screenshot;
using e2e::Shot;
using testclip::anyVideoDevice;

namespace {

const char* const kPanelCaption = "Vorlaxis - control panel";

class CameraEndToEnd : public e2e::DisplayTest {
protected:
    // A null camera leaves VORLAXIS_CAMERA unset. Kept replays go to the test's own folder.
    GameProcess start(const char* camera) {
        return GameProcess({camera ? std::string("VORLAXIS_CAMERA=") + camera : "VORLAXIS_CAMERA",
                            "SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1",
                            "XDG_DATA_HOME=" + data_.path()});
    }

    // A run that never began keeps no replay.
    bool keptNothing() const {
        std::error_code error;
        const std::filesystem::path replays = data_.file("vorlaxis/replays");
        return !std::filesystem::exists(replays, error) ||
               std::filesystem::is_empty(replays, error);
    }

    testsupport::ScratchFolder data_{"e2e-camera-data"};
};

}  // namespace

TEST_F(CameraEndToEnd, PanelPreviewShowsTheClipAndEscapeEndsTheGame) {
    const std::string clip = testsupport::scratchPath("e2e-camera", ".y4m");
    ASSERT_TRUE(testsupport::writeQuadrantClip(clip, 320, 240, 10, 3));
    GameProcess game = start(clip.c_str());
    const std::string panel = game.waitForWindow(kPanelCaption, e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game.err();

    // The preview refreshes every 300 ms and the worker's passes follow it; on a busy machine
    // either can come late.
    Shot shot;
    std::string why = "no screenshot";
    const auto seen = [&](bool (*shows)(const Shot&, std::string&)) {
        return testwait::waitUntil([&] { return screenshot(panel, shot) && shows(shot, why); },
                                   e2e::kReactSeconds, std::chrono::milliseconds(250));
    };
    const bool shown = seen(previewShowsQuadrants);
    EXPECT_TRUE(shown) << why;
    if (shown) {
        EXPECT_TRUE(seen(maskShowsTheWhiteQuadrant)) << why;
    }
    std::remove(clip.c_str());

    capture("xdotool windowfocus --sync " + panel + " 2>/dev/null; xdotool key Escape 2>/dev/null");
    int status = -2;
    if (!game.wait(e2e::kReactSeconds / 2, status)) {
        capture("xdotool key --window " + panel + " Escape 2>/dev/null");
        ASSERT_TRUE(game.wait(e2e::kReactSeconds, status)) << "Escape did not end the game";
    }
    EXPECT_EQ(status, 0) << game.err();
    EXPECT_NE(game.out().find("Camera: clip " + clip), std::string::npos) << game.out();
}

TEST_F(CameraEndToEnd, AClipThatCannotBeReadEndsTheGameWithTheReason) {
    GameProcess game = start("/nonexistent.y4m");
    int status = -2;
    ASSERT_TRUE(game.wait(e2e::kStartSeconds, status)) << "the game did not end";
    EXPECT_EQ(status, 1);
    const std::string err = game.err();
    EXPECT_NE(err.find("cannot open the clip /nonexistent.y4m: No such file or directory"),
              std::string::npos)
        << err;
    const size_t reason = err.find("/nonexistent.y4m");
    const size_t verdict = err.find("Unable to connect to the camera");
    EXPECT_NE(verdict, std::string::npos) << err;
    EXPECT_LT(reason, verdict) << "the reason comes first: " << err;
    EXPECT_TRUE(keptNothing()) << game.out();
}

TEST_F(CameraEndToEnd, NoCameraAtAllEndsTheGameWithTheReason) {
    if (anyVideoDevice()) GTEST_SKIP() << "this machine has a /dev/video device";
    GameProcess game = start(nullptr);
    int status = -2;
    ASSERT_TRUE(game.wait(e2e::kStartSeconds, status)) << "the game did not end";
    EXPECT_EQ(status, 1);
    const std::string err = game.err();
    EXPECT_NE(err.find("no camera found"), std::string::npos) << err;
    EXPECT_NE(err.find("Unable to connect to the camera"), std::string::npos) << err;
    EXPECT_TRUE(keptNothing()) << game.out();
}
