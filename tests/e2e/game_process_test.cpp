// A test program killed while its game runs takes the game with it.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/e2e/game_process.h"
#include "tests/support/wait.h"

namespace {

bool alive(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

TEST(GameProcess, DiesWhenTheTestProgramThatStartedItIsKilled) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t test = ::fork();
    ASSERT_GE(test, 0);
    if (test == 0) {
        // A stand-in for the killed test program: it starts a long "game" and reports its pid.
        ::close(pipeEnds[0]);
        e2e::Launch launch;
        launch.program = "/bin/sleep";
        e2e::GameProcess game({}, {"600"}, launch);
        const pid_t pid = game.pid();
        if (::write(pipeEnds[1], &pid, sizeof pid) != sizeof pid) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    pid_t game = -1;
    const bool reported = ::read(pipeEnds[0], &game, sizeof game) == sizeof game;
    ::close(pipeEnds[0]);
    ::kill(test, SIGKILL);
    ::waitpid(test, nullptr, 0);
    ASSERT_TRUE(reported);
    // The orphan is reaped by whoever adopts it; until then it may linger as a zombie.
    EXPECT_TRUE(testwait::waitUntil(
        [game] {
            if (!alive(game)) return true;
            std::ifstream stat("/proc/" + std::to_string(game) + "/stat");
            std::string pid, name, state;
            stat >> pid >> name >> state;
            return state == "Z";
        },
        e2e::kReactSeconds))
        << "the game " << game << " outlived its test program";
}

}  // namespace
