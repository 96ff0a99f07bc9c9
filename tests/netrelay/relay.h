// A UDP link between a client and a target that loses, delays, duplicates and reorders
// datagrams as told, with a seeded generator so that a run's choices can be repeated.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include "relay_options.h"

namespace netrelay {

struct RelayCounts {
    uint64_t received = 0, sent = 0, dropped = 0, duplicated = 0, reordered = 0;
};

class UdpRelay {
public:
    using Clock = std::chrono::steady_clock;

    explicit UdpRelay(const RelayOptions& options) : options_(options), random_(options.seed) {}
    ~UdpRelay();
    UdpRelay(const UdpRelay&) = delete;
    UdpRelay& operator=(const UdpRelay&) = delete;

    // Resolves the target and binds 127.0.0.1; false with the reason in `error`.
    bool open(std::string* error);
    int port() const { return port_; }
    // Relays until the time or datagram budget is spent or `stop` turns true; with the
    // datagram budget spent, the ones already on their way are still delivered.
    void run(const volatile std::sig_atomic_t& stop);
    const RelayCounts& counts() const { return counts_; }

private:
    struct Pending {
        Clock::time_point due;
        uint64_t order;
        sockaddr_in to;
        std::vector<char> data;
        bool operator>(const Pending& other) const {
            return due != other.due ? due > other.due : order > other.order;
        }
    };

    void receiveAll();
    void route(const char* data, size_t size, const sockaddr_in& from);
    // Loses, delays, holds back or doubles one datagram; a copy is only delayed.
    void schedule(const char* data, size_t size, const sockaddr_in& to, bool copy);
    void enqueue(const char* data, size_t size, const sockaddr_in& to,
                 std::chrono::microseconds delay);
    void sendDue();
    int pollTimeoutMs(Clock::time_point end) const;
    bool chance(double percent);
    std::chrono::microseconds upTo(int ms);

    RelayOptions options_;
    std::mt19937_64 random_;
    int socket_ = -1;
    int port_ = 0;
    sockaddr_in target_{};
    sockaddr_in client_{};
    bool haveClient_ = false;
    uint64_t nextOrder_ = 0;
    std::priority_queue<Pending, std::vector<Pending>, std::greater<Pending>> queue_;
    RelayCounts counts_;
};

}  // namespace netrelay
