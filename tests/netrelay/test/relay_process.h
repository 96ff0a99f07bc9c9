// The built udp_relay as a child process: its port once it says it is ready, its exit and
// what it printed. The child dies with the test program, and is killed if a test leaves it.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/child_death.h"
#include "tests/support/wait.h"

namespace netrelay {

class RelayProcess {
public:
    explicit RelayProcess(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(),
                         std::string(VORLAXIS_BIN_DIR) + "/tests/netrelay/udp_relay");
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            testsupport::dieWithParent(parent);
            if (::dup2(out[1], 1) < 0 || ::dup2(err[1], 2) < 0) ::_exit(127);
            std::vector<char*> argv;
            for (std::string& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
        ::fcntl(out_, F_SETFL, O_NONBLOCK);
        ::fcntl(err_, F_SETFL, O_NONBLOCK);
    }
    ~RelayProcess() {
        if (running()) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
        if (err_ >= 0) ::close(err_);
    }
    RelayProcess(const RelayProcess&) = delete;
    RelayProcess& operator=(const RelayProcess&) = delete;

    // The port from `relay on UDP port N`; 0 if the relay ends or stays silent.
    int waitForPort() {
        int port = 0;
        testwait::waitUntil([&] {
            drain(out_, &out);
            if (std::sscanf(out.c_str(), "relay on UDP port %d", &port) == 1) return true;
            return !running();
        });
        return port;
    }

    bool running() {
        int raw = 0;
        if (pid_ > 0 && !finished_ && ::waitpid(pid_, &raw, WNOHANG) == pid_) {
            finished_ = true;
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        }
        return pid_ > 0 && !finished_;
    }

    // Waits for the exit, calling `meanwhile` between looks; false on timeout.
    bool waitForExit(const std::function<void()>& meanwhile = [] {}) {
        const bool ended = testwait::waitUntil(
            [&] {
                meanwhile();
                drain(err_, &err);
                return !running();
            },
            testwait::kPatienceSeconds, std::chrono::milliseconds(2));
        drain(err_, &err);
        return ended;
    }

    void signal(int number) {
        if (running()) ::kill(pid_, number);
    }

    int status = -1;  // the exit code, -1 for a signal
    std::string out, err;

private:
    static void drain(int fd, std::string* into) {
        char buffer[4096];
        ssize_t n;
        while (fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0) into->append(buffer, n);
    }

    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    bool finished_ = false;
};

}  // namespace netrelay
