// The whole program with the simulated UVC webcam preloaded: it finds the camera past its
// metadata node, shows it in the panel, tells the player what to do when the camera is busy
// or forbidden, plays on when it is unplugged, and a camera costs the game no speed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "tests/support/y4m_writer.h"
#include "tests/platform/capture/video_devices.h"
#include "tests/e2e/panel.h"
#include "tests/e2e/screen.h"
#include "tests/webcam/sim_webcam.h"

using e2e::capture;
using e2e::GameProcess;
using e2e::screenshot;
using e2e::Shot;

namespace {

const char* const kPanelCaption = "Vorlaxis - control panel";

class WebcamEndToEnd : public e2e::DisplayTest {
protected:
    void SetUp() override {
        e2e::DisplayTest::SetUp();
        if (IsSkipped()) return;
        // Cameras are found by number: a real one would come before the simulated ones.
        if (testclip::anyVideoDevice()) GTEST_SKIP() << "this machine has a /dev/video device";
        clip_ = testsupport::scratchPath("e2e-webcam", ".y4m");
        testsupport::writeQuadrantClip(clip_, 640, 480, 30, 3);
    }
    void TearDown() override { std::remove(clip_.c_str()); }

    // The game with the simulation preloaded; `settings` are VORLAXIS_SIM_* entries.
    GameProcess start(std::vector<std::string> settings, const std::string& extraPreload = "",
                      const std::vector<std::string>& arguments = {}) {
        std::vector<std::string> env = simcam::preloadEnvironment();
        if (!extraPreload.empty()) env[0] += ":" + extraPreload;
        for (const char* name :
             {"VORLAXIS_CAMERA", "VORLAXIS_SIM_META_DEVICE", "VORLAXIS_SIM_FORMATS",
              "VORLAXIS_SIM_BUSY", "VORLAXIS_SIM_DENIED", "VORLAXIS_SIM_UNPLUG_AFTER"})
            env.push_back(name);
        env.push_back("VORLAXIS_SIM_DEVICE=/dev/video42");
        env.push_back("VORLAXIS_SIM_CLIP=" + clip_);
        env.push_back("SDL_AUDIODRIVER=dummy");
        env.push_back("LIBGL_ALWAYS_SOFTWARE=1");
        // A setting replaces the default of the same name.
        for (const std::string& setting : settings) {
            const std::string name = setting.substr(0, setting.find('='));
            env.erase(std::remove_if(
                          env.begin(), env.end(),
                          [&](const std::string& e) { return e.substr(0, e.find('=')) == name; }),
                      env.end());
            env.push_back(setting);
        }
        return GameProcess(env, arguments);
    }

    // Waits for the panel to show `check`; leaves the last screenshot in `shot`.
    template <typename Check>
    static bool waitForPanel(GameProcess& game, const std::string& panel, Check check, Shot& shot,
                             std::string& why) {
        for (int attempt = 0; attempt < 4 * e2e::kStartSeconds && game.running(); ++attempt) {
            if (screenshot(panel, shot) && check(shot, why)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
        if (!game.running()) why = "the game ended; stderr: " + game.err();
        return false;
    }

    static int endWithEscape(GameProcess& game, const std::string& panel) {
        capture("xdotool windowfocus --sync " + panel +
                " 2>/dev/null; xdotool key Escape 2>/dev/null");
        int status = -2;
        if (!game.wait(20, status)) {
            capture("xdotool key --window " + panel + " Escape 2>/dev/null");
            if (!game.wait(20, status)) return -2;
        }
        return status;
    }

    static void expectRefusal(GameProcess& game, const std::string& reason) {
        int status = -2;
        ASSERT_TRUE(game.wait(e2e::kStartSeconds, status))
            << "the game did not end: " << game.err();
        EXPECT_EQ(status, 1);
        const std::string err = game.err();
        const size_t said = err.find(reason);
        EXPECT_NE(said, std::string::npos) << err;
        EXPECT_LT(said, err.find("Unable to connect to the camera")) << err;
    }

    std::string clip_;
};

TEST_F(WebcamEndToEnd, PanelShowsTheCameraPastItsMetadataNodeAndEscapeEndsTheGame) {
    GameProcess game =
        start({"VORLAXIS_SIM_META_DEVICE=/dev/video41", "VORLAXIS_SIM_FORMATS=YUYV=640x480"});
    const std::string panel = game.waitForWindow(kPanelCaption, e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game.err();
    Shot shot;
    std::string why = "no screenshot";
    EXPECT_TRUE(waitForPanel(game, panel, e2e::previewShowsQuadrants, shot, why)) << why;
    EXPECT_TRUE(waitForPanel(game, panel, e2e::maskShowsTheWhiteQuadrant, shot, why)) << why;
    EXPECT_EQ(endWithEscape(game, panel), 0) << game.err();
    EXPECT_NE(game.out().find("Camera: camera /dev/video42"), std::string::npos) << game.out();
}

TEST_F(WebcamEndToEnd, ABusyOrForbiddenCameraEndsTheGameSayingWhatToDo) {
    GameProcess busy = start({"VORLAXIS_SIM_BUSY=1"});
    expectRefusal(busy, "camera /dev/video42 is in use by another program: close it");
    GameProcess denied = start({"VORLAXIS_SIM_DENIED=1"});
    expectRefusal(denied, "/dev/video42: permission denied: add yourself to the video group");
    GameProcess metadataOnly =
        start({"VORLAXIS_SIM_DEVICE=/dev/video99", "VORLAXIS_SIM_META_DEVICE=/dev/video41"});
    expectRefusal(metadataOnly,
                  "no camera found: /dev/video41 (Vorlaxis Sim Webcam) captures no video pictures");
}

TEST_F(WebcamEndToEnd, AnUnpluggedCameraLeavesTheLastPictureAndTheGameGoesOn) {
    GameProcess game = start({"VORLAXIS_SIM_UNPLUG_AFTER=10"});
    const std::string panel = game.waitForWindow(kPanelCaption, e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game.err();
    const std::string gone = "Camera /dev/video42 stopped delivering pictures (No such device)";
    for (int attempt = 0;
         attempt < 4 * e2e::kStartSeconds && game.err().find(gone) == std::string::npos; ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    ASSERT_NE(game.err().find(gone), std::string::npos) << game.err();
    Shot shot;
    std::string why = "no screenshot";
    EXPECT_TRUE(waitForPanel(game, panel, e2e::previewShowsQuadrants, shot, why)) << why;
    // A fixed wait shows the game does not end and says nothing more: ten preview periods.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_TRUE(game.running());
    EXPECT_EQ(endWithEscape(game, panel), 0) << game.err();
    const std::string err = game.err();
    EXPECT_EQ(err.find(gone), err.rfind(gone)) << "said more than once: " << err;
}

struct Speed {
    double turnsPerSecond = 0;
    double cpuPerTurn = 0;  // seconds of the whole process's CPU time
};

// Speed over a few seconds of play, after the start has settled.
Speed speedOf(GameProcess& game, const std::string& turnsFile) {
    struct Sample {
        long turns = 0;
        double wall = 0, cpu = 0;
    };
    const auto sample = [&](Sample& s) {
        std::ifstream in(turnsFile);
        return static_cast<bool>(in >> s.turns >> s.wall >> s.cpu);
    };
    Sample a, b;
    for (int i = 0; i < 4 * e2e::kStartSeconds && game.running() && !sample(a); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    // Fixed spans of play: long enough to average out the preview's refreshes.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    if (!sample(a)) return {};
    std::this_thread::sleep_for(std::chrono::seconds(6));
    if (!sample(b) || b.turns <= a.turns || b.wall <= a.wall) return {};
    return {(b.turns - a.turns) / (b.wall - a.wall), (b.cpu - a.cpu) / (b.turns - a.turns)};
}

// On a shared machine the turns a second follow whatever else runs (from 45 to 75 in runs
// minutes apart here); the CPU time a turn costs varies far less, and it is what a camera
// would add to. Both are printed. The camera's share measured with perf is about 2% (libjpeg
// and the copies), but runs of the same setting still differ by up to 5% in CPU a turn, so
// the test holds the camera to 15%, best of three alternating runs each: enough to catch a
// camera path that decodes on every turn or stalls the main loop.
TEST_F(WebcamEndToEnd, ABigMotionJpegCameraCostsTheGameNoSpeed) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // Instrumentation slows the game's own copies and scaling many times over but not libv4l2's
    // decoding: the comparison would measure the sanitizer, not the camera.
    GTEST_SKIP() << "speed is measured in the plain build";
#endif
    const std::string counter = std::string(VORLAXIS_BIN_DIR) + "/tests/v4l2sim/libturncounter.so";
    const std::string small = testsupport::scratchPath("e2e-webcam", ".y4m");
    testsupport::writeQuadrantClip(small, 320, 240, 30, 3);
    Speed best[2];  // clip, camera
    for (int round = 0; round < 3; ++round) {
        for (int camera : {0, 1}) {
            const std::string turns = testsupport::scratchPath("e2e-webcam", ".turns");
            std::vector<std::string> settings = {"VORLAXIS_TURNS_FILE=" + turns,
                                                 "VORLAXIS_SIM_FORMATS=MJPG=1280x720"};
            if (!camera) settings.push_back("VORLAXIS_CAMERA=" + small);
            // The turns run unpaced: the measure is what the camera costs them.
            GameProcess game = start(settings, counter, {"--turn-rate", "0"});
            const std::string panel = game.waitForWindow(kPanelCaption, e2e::kStartSeconds);
            ASSERT_FALSE(panel.empty()) << game.err();
            const Speed speed = speedOf(game, turns);
            EXPECT_EQ(endWithEscape(game, panel), 0) << game.err();
            std::remove(turns.c_str());
            ASSERT_GT(speed.turnsPerSecond, 0) << "no turns counted";
            best[camera].turnsPerSecond =
                std::max(best[camera].turnsPerSecond, speed.turnsPerSecond);
            if (best[camera].cpuPerTurn == 0 || speed.cpuPerTurn < best[camera].cpuPerTurn)
                best[camera].cpuPerTurn = speed.cpuPerTurn;
        }
    }
    std::remove(small.c_str());
    std::printf(
        "turns a second: clip 320x240 %.1f, camera MJPEG 1280x720 %.1f; CPU a turn: %.2f ms, %.2f "
        "ms (%+.1f%%)\n",
        best[0].turnsPerSecond, best[1].turnsPerSecond, 1000 * best[0].cpuPerTurn,
        1000 * best[1].cpuPerTurn,
        100.0 * (best[1].cpuPerTurn - best[0].cpuPerTurn) / best[0].cpuPerTurn);
    EXPECT_LT(best[1].cpuPerTurn, 1.15 * best[0].cpuPerTurn);
}

}  // namespace

// Every duration of the match is counted in turns: they run at a steady 60 a second unless
// the machine cannot draw that fast, never faster. What it can draw is measured here too, with
// the turns unpaced, so that a loaded machine is held to its own speed.
TEST_F(WebcamEndToEnd, TheTurnsRunAtSixtyASecond) {
    const std::string counter = std::string(VORLAXIS_BIN_DIR) + "/tests/v4l2sim/libturncounter.so";
    const std::string turns = testsupport::scratchPath("e2e-pace", ".turns");
    const auto measure = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--keyboard", "--mute"});
        GameProcess game = start({"VORLAXIS_TURNS_FILE=" + turns}, counter, args);
        const std::string panel = game.waitForWindow(kPanelCaption, e2e::kStartSeconds);
        Speed speed;
        if (panel.empty()) {
            ADD_FAILURE() << "no control panel: " << game.err();
        } else {
            speed = speedOf(game, turns);
            EXPECT_EQ(endWithEscape(game, panel), 0) << game.err();
        }
        std::remove(turns.c_str());
        return speed.turnsPerSecond;
    };
    const double unpaced = measure({"--turn-rate", "0"});
    const double paced = measure({});
    std::printf("turns a second at the default rate: %.2f (unpaced: %.2f)\n", paced, unpaced);
    ASSERT_GT(unpaced, 0) << "no turns counted";
    EXPECT_LE(paced, 60 * 1.03);
    EXPECT_GT(paced, 0.6 * std::min(60.0, unpaced)) << "the turns stalled";
}
