// A match played with a gamepad: the simulated pad walks player 1 in and punches with paper
// and scissors in turn until player 2, who stands at the keyboard and does nothing, is
// knocked out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/gamepad/sim_gamepad.h"
#include "tests/e2e/screen.h"
#include "tests/support/wait.h"

namespace {

TEST(GamepadEndToEnd, APadPlayerKnocksOutAPlayerWhoDoesNothing) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server (run under xvfb-run)";
    std::vector<std::string> environment = simpad::preloadEnvironment();
    environment.push_back("VORLAXIS_PADSIM=" +
                          simpad::script({simpad::fightingPad(1, 600, 400, 25)}));
    environment.push_back("SDL_AUDIODRIVER=dummy");
    environment.push_back("LIBGL_ALWAYS_SOFTWARE=1");
    environment.push_back("VORLAXIS_CAMERA");
    e2e::GameProcess game(environment, {"--keyboard", "--player1", "gamepad", "--mute",
                                        "--no-record", "--matches", "1"});
    int status = -2;
    ASSERT_TRUE(game.wait(3 * e2e::kStartSeconds, status)) << "no knock-out: " << game.err();
    EXPECT_EQ(status, 0) << game.err();
    EXPECT_NE(game.out().find("match 1: player 1 wins after "), std::string::npos) << game.out();
}

}  // namespace
