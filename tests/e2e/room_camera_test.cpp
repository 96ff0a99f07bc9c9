// The game with --vision room on a clip: the worker calibrates on the first two seconds of the
// camera, says so, reads on, and Escape ends the game as ever.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/screen.h"

namespace {

using e2e::GameProcess;

class RoomCameraEndToEnd : public e2e::ClipTest {
protected:
    const char* script() const override {
        return "fps 15\n15 none | none\n15 paper 80,130 | paper 80,130\n60 rock 60,110 | none\n";
    }
};

TEST_F(RoomCameraEndToEnd, TheWorkerCalibratesOnTheFirstTwoSecondsAndPlaysOn) {
    GameProcess game({"SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1"},
                     {"--camera", clip_, "--vision", "room", "--mute", "--no-record"});
    const std::string panel = game.waitForWindow("Vorlaxis - control panel", e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game.err();
    EXPECT_TRUE(game.waitForOutput("Room recognition: calibrated\n", e2e::kReactSeconds))
        << game.out() << game.err();
    e2e::capture("xdotool key --window " + panel + " Escape 2>/dev/null");
    e2e::expectCleanEnd(game);
}

}  // namespace
