// The built game as a child process under the test run's X server, and the X tools that look
// at and drive its windows. Every wait is bounded; the child is killed if a test leaves it.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace e2e {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kStartSeconds = 180;  // instrumented builds start slowly
#else
constexpr int kStartSeconds = 60;
#endif

inline const std::string& gamePath() {
    static const std::string path = std::string(VORLAXIS_BIN_DIR) + "/app/vorlaxis";
    return path;
}

inline bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

inline std::string tempPath(const std::string& stem, const std::string& suffix) {
    static int counter = 0;
    return "/tmp/vorlaxis-" + stem + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + suffix;
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

// The first window whose name is exactly `caption`, as an X id in decimal; empty if none.
inline std::string findWindow(const std::string& caption) {
    std::string ids = capture("xdotool search --name '^" + caption + "$' 2>/dev/null");
    size_t end = ids.find('\n');
    return end == std::string::npos ? "" : ids.substr(0, end);
}

class GameProcess {
public:
    // `environment` entries NAME=VALUE replace the inherited ones; a bare NAME removes it.
    // The game runs in `folder`, by default the generated data.
    explicit GameProcess(const std::vector<std::string>& environment,
                         const std::string& folder = VORLAXIS_DATA_DIR)
        : out_(tempPath("e2e", ".out")), err_(tempPath("e2e", ".err")), folder_(folder) {
        std::vector<std::string> env = merged(environment);
        pid_ = ::fork();
        if (pid_ == 0) exec(env);
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
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (!running()) {
                status = status_;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
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
    std::string waitForWindow(const std::string& caption, int seconds) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        std::string id;
        while (id.empty() && running() && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            id = findWindow(caption);
        }
        return id;
    }

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

    [[noreturn]] void exec(std::vector<std::string>& env) {
        int out = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(folder_.c_str()) != 0)
            ::_exit(127);
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(gamePath().c_str()), nullptr};
        ::execve(gamePath().c_str(), argv, envp.data());
        ::_exit(127);
    }

    std::string out_, err_, folder_;
    pid_t pid_ = -1;
    bool finished_ = false;
    int status_ = -1;
};

}  // namespace e2e
