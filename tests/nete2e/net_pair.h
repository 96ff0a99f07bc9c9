// Two built games playing a network match on this machine, both windowless with the computer
// as their side: the host on any free port, the joiner sent to it directly or through
// udp_relay. What they printed is read until a deadline; every child dies with the test
// program and is killed when the pair goes.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/game_process.h"
#include "tests/netrelay/test/relay_process.h"
#include "tests/support/wait.h"

namespace nete2e {

using e2e::GameProcess;
using Arguments = std::vector<std::string>;

// A match of one knock-out takes 10-15 s at 60 turns a second; this bounds a whole run.
constexpr int kRunSeconds = testwait::kPatienceSeconds + 20;

// `vorlaxis --simulate` with the given arguments, in the data folder.
inline std::unique_ptr<GameProcess> startGame(Arguments arguments) {
    arguments.insert(arguments.begin(), "--simulate");
    return std::make_unique<GameProcess>(Arguments{}, arguments);
}

// The lines of `text` that start with `prefix`, in order.
inline std::vector<std::string> linesStarting(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

// Waits until the game's standard output holds `text`; false when the game ends without it
// or `seconds` pass.
inline bool waitForOutput(GameProcess& game, const std::string& text,
                          int seconds = testwait::kPatienceSeconds) {
    const auto said = [&] { return game.out().find(text) != std::string::npos; };
    testwait::waitUntil([&] { return said() || !game.running(); }, seconds);
    return said();
}

// The port a host says it waits on; 0 when it never says.
inline int waitForPort(GameProcess& host) {
    const std::string prefix = "waiting for a player on UDP port ";
    int port = 0;
    if (!waitForOutput(host, prefix)) return 0;
    const std::vector<std::string> lines = linesStarting(host.out(), prefix);
    if (lines.empty() || std::sscanf(lines[0].c_str() + prefix.size(), "%d", &port) != 1) return 0;
    return port;
}

// The closing `network: ...` line of a game.
struct NetFigures {
    long long turns = -1, rollbacks = -1, stalls = -1, dropped = -1;
    double seconds = 0, rate = 0, meanRollback = 0;
    int longestRollback = -1, roundTripMs = -1;

    // False when `out` has no such line.
    bool read(const std::string& out) {
        const std::vector<std::string> lines = linesStarting(out, "network: ");
        return lines.size() == 1 &&
               std::sscanf(lines[0].c_str(),
                           "network: %lld turns in %lf s (%lf turns/s), rollbacks %lld (mean %lf "
                           "turns, longest %d), stalls %lld turns, dropped packets %lld, round "
                           "trip %d ms",
                           &turns, &seconds, &rate, &rollbacks, &meanRollback, &longestRollback,
                           &stalls, &dropped, &roundTripMs) == 9;
    }
};

// `vorlaxis --simulate --replay PATH`: its exit code and what follows "replay PATH: " on its
// first line (the turns, matches, checkpoints and final state), or its whole output.
struct ReplayCheck {
    int status = -2;
    std::string verdict;
};

inline ReplayCheck checkReplay(const std::string& path) {
    std::unique_ptr<GameProcess> checking = startGame({"--replay", path});
    ReplayCheck check;
    EXPECT_TRUE(checking->wait(testwait::kPatienceSeconds, check.status))
        << "checking " << path << " did not end";
    const std::string out = checking->out();
    const std::string prefix = "replay " + path + ": ";
    const std::vector<std::string> lines = linesStarting(out, prefix);
    check.verdict = lines.empty() ? out + checking->err() : lines[0].substr(prefix.size());
    return check;
}

// A host and a joiner, with a relay between them when it is given options.
class NetPair {
public:
    struct Setup {
        Arguments host;    // besides --simulate --host 0 --player1 computer
        Arguments joiner;  // besides --simulate --join ... --player2 computer
        Arguments relay;   // udp_relay's options besides --listen and --to; none: no relay
        // Where the joiner finds the host when there is no relay (the relay is on 127.0.0.1).
        std::string hostAddress = "127.0.0.1";
    };

    // Starts the host, reads its port, starts the relay if any and the joiner.
    ::testing::AssertionResult start(const Setup& setup) {
        Arguments host = {"--host", "0", "--player1", "computer"};
        host.insert(host.end(), setup.host.begin(), setup.host.end());
        host_ = startGame(host);
        hostPort = waitForPort(*host_);
        if (hostPort == 0)
            return ::testing::AssertionFailure() << "the host never said its port:\n"
                                                 << host_->out() << host_->err();
        std::string address = setup.hostAddress + ":" + std::to_string(hostPort);
        if (!setup.relay.empty()) {
            Arguments relay = {"--listen", "0", "--to", "127.0.0.1:" + std::to_string(hostPort)};
            relay.insert(relay.end(), setup.relay.begin(), setup.relay.end());
            relay_ = std::make_unique<netrelay::RelayProcess>(relay);
            const int port = relay_->waitForPort();
            address = "127.0.0.1:" + std::to_string(port);
            if (port == 0)
                return ::testing::AssertionFailure() << "the relay did not start: " << relay_->err;
        }
        Arguments joiner = {"--join", address, "--player2", "computer"};
        joiner.insert(joiner.end(), setup.joiner.begin(), setup.joiner.end());
        joiner_ = startGame(joiner);
        return ::testing::AssertionSuccess();
    }

    // Waits for both games to end; false when one is still running after `seconds`.
    bool waitForBoth(int seconds = kRunSeconds) {
        return host_->wait(seconds, hostStatus) && joiner_->wait(seconds, joinerStatus);
    }

    GameProcess& host() { return *host_; }
    GameProcess& joiner() { return *joiner_; }
    // Both games' output, for a failure's message.
    std::string transcript() const {
        return "host:\n" + host_->out() + host_->err() + "joiner:\n" + joiner_->out() +
               joiner_->err();
    }

    int hostPort = 0;
    int hostStatus = -2, joinerStatus = -2;

private:
    std::unique_ptr<GameProcess> host_;
    std::unique_ptr<netrelay::RelayProcess> relay_;
    std::unique_ptr<GameProcess> joiner_;
};

}  // namespace nete2e
