// The built game as a child process under the test run's X server, and the X tools that look
// at and drive its windows. Every wait is bounded; the child is killed if a test leaves it,
// and dies with the test program if that is killed first.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/child_death.h"
#include "tests/support/data_folder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wait.h"

extern char** environ;

namespace e2e {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kStartSeconds = 180;  // instrumented builds start slowly
#else
constexpr int kStartSeconds = 60;
#endif
// How long anything the game is asked to do may take to show: an exit, a repaint, a reading.
constexpr int kReactSeconds = testwait::kPatienceSeconds;

// The captions of the game's two windows.
constexpr const char* kPanelCaption = "Vorlaxis - control panel";
constexpr const char* kSceneCaption = "Vorlaxis";

inline const std::string& gamePath() {
    static const std::string path = std::string(VORLAXIS_BIN_DIR) + "/app/vorlaxis";
    return path;
}

inline bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Runs a shell command; returns its standard output.
inline std::string capture(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string out;
    if (!pipe) return out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) out.append(buffer, n);
    return out;
}

// Where each thread of a running process stands, for a test that finds it stuck: gdb's
// backtraces when gdb is there, else the kernel's note of what each thread waits on.
inline std::string threadsOf(pid_t pid) {
    const std::string id = std::to_string(pid);
    std::string stacks = capture("timeout 60 gdb -p " + id +
                                 " -batch -ex 'thread apply all bt 25' 2>/dev/null | grep -E "
                                 "'^(Thread|#)' | head -n 300");
    if (stacks.empty())
        stacks = capture("for t in /proc/" + id + "/task/*; do echo \"$t $(cat $t/comm) " +
                         "$(cat $t/wchan)\"; done 2>/dev/null");
    return stacks;
}

// The first window whose name is exactly `caption`, as an X id in decimal; empty if none.
inline std::string findWindow(const std::string& caption) {
    std::string ids = capture("xdotool search --name '^" + caption + "$' 2>/dev/null");
    size_t end = ids.find('\n');
    return end == std::string::npos ? "" : ids.substr(0, end);
}

// Which executable to start, and in which folder.
struct Launch {
    std::string program = gamePath();
    std::string folder = testsupport::dataFolder();
};

class GameProcess {
public:
    // `environment` entries NAME=VALUE replace the inherited ones; a bare NAME removes it.
    // `arguments` follow the program's name on its command line.
    explicit GameProcess(const std::vector<std::string>& environment,
                         const std::vector<std::string>& arguments = {}, Launch launch = Launch())
        : launch_(std::move(launch)),
          out_(testsupport::scratchPath("e2e", ".out")),
          err_(testsupport::scratchPath("e2e", ".err")) {
        std::vector<std::string> env = merged(environment);
        std::vector<std::string> args = arguments;
        args.insert(args.begin(), launch_.program);
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            testsupport::dieWithParent(parent);
            exec(env, args);
        }
    }
    ~GameProcess() {
        if (pid_ > 0 && running()) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        std::remove(out_.c_str());
        std::remove(err_.c_str());
    }
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Waits for the exit; false on timeout. `status` is the exit code, -1 for a signal.
    bool wait(int seconds, int& status) {
        if (!testwait::waitUntil([this] { return !running(); }, seconds)) return false;
        status = status_;
        return true;
    }

    void signal(int number) {
        if (running()) ::kill(pid_, number);
    }

    bool running() {
        int raw = 0;
        if (!finished_ && ::waitpid(pid_, &raw, WNOHANG) == pid_) {
            finished_ = true;
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        }
        return !finished_;
    }

    // Polls for a window of the game while it runs; empty after `seconds`.
    std::string waitForWindow(const std::string& caption, int seconds = kStartSeconds) {
        std::string id;
        testwait::waitUntil([&] { return !running() || !(id = findWindow(caption)).empty(); },
                            seconds, std::chrono::milliseconds(250));
        return id;
    }

    // Polls standard output for `text` while the game runs; false if it has not appeared after
    // `seconds`. A window may show before the game has said everything it says at the start.
    bool waitForOutput(const std::string& text, int seconds = kStartSeconds) {
        const auto said = [&] { return out().find(text) != std::string::npos; };
        testwait::waitUntil([&] { return said() || !running(); }, seconds);
        return said();
    }

    pid_t pid() const { return pid_; }
    std::string out() const { return slurp(out_); }
    std::string err() const { return slurp(err_); }

private:
    static std::string nameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

    static std::vector<std::string> merged(const std::vector<std::string>& changes) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            bool replaced = false;
            for (const std::string& change : changes) replaced |= nameOf(change) == nameOf(*e);
            if (!replaced) env.push_back(*e);
        }
        for (const std::string& change : changes)
            if (change.find('=') != std::string::npos) env.push_back(change);
        return env;
    }

    [[noreturn]] void exec(std::vector<std::string>& env, std::vector<std::string>& args) {
        int out = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(launch_.folder.c_str()) != 0)
            ::_exit(127);
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execve(launch_.program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }

    Launch launch_;
    std::string out_, err_;
    pid_t pid_ = -1;
    bool finished_ = false;
    int status_ = -1;
};

// What a run said on its two outputs, and its exit status (-2 when it did not end in time).
struct Outcome {
    int status = -2;
    std::string out, err;
};

// Runs the game with no display at all: whatever it is asked, it may not need a window.
inline Outcome runWithoutDisplay(const std::vector<std::string>& arguments) {
    GameProcess game({"DISPLAY", "VORLAXIS_CAMERA"}, arguments);
    Outcome run;
    EXPECT_TRUE(game.wait(kStartSeconds, run.status)) << "the game did not end";
    run.out = game.out();
    run.err = game.err();
    return run;
}

}  // namespace e2e
