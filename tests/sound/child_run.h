// Runs a piece of the sound start-up in a child process: its failures end the process, and
// SDL's audio state must not leak from one case into the next.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "tests/support/child_death.h"

namespace childrun {

constexpr int kBodyDone = 42;  // the child got through the whole case without exiting

struct ChildResult {
    int exitCode = -1;  // -1 when the child did not exit normally (signal, alarm)
    std::string out, err;
};

inline std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs `body` in a child working in `dir` with SDL_AUDIODRIVER=`driver`, its standard output
// and error captured. A child that hangs is killed by an alarm.
inline ChildResult runInChild(const std::filesystem::path& dir, const char* driver,
                              const std::function<void()>& body) {
    const std::filesystem::path outFile = dir / "child.out";
    const std::filesystem::path errFile = dir / "child.err";
    std::fflush(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        testsupport::dieWithParent(parent);
        alarm(20);
        if (chdir(dir.c_str()) != 0 || !std::freopen(outFile.c_str(), "w", stdout) ||
            !std::freopen(errFile.c_str(), "w", stderr))
            _exit(99);
        setenv("SDL_AUDIODRIVER", driver, 1);
        body();
        std::fflush(nullptr);
        _exit(kBodyDone);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ChildResult r;
    if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    r.out = slurp(outFile);
    r.err = slurp(errFile);
    return r;
}

}  // namespace childrun
