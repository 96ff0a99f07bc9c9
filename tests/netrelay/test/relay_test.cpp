// The relay between a client and a target socket: its loss and delay, its duplicates both
// ways, its end, its counts and its refusals.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <string>

#include "relay_process.h"

namespace {

using Clock = std::chrono::steady_clock;

// One datagram: a sequence number and the time it was sent.
struct Stamp {
    int32_t sequence;
    int64_t sentNs;
};

class Endpoint {
public:
    Endpoint() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
        sockaddr_in self = loopback(0);
        socklen_t length = sizeof self;
        ::bind(fd_, (sockaddr*)&self, sizeof self);
        ::getsockname(fd_, (sockaddr*)&self, &length);
        port = ntohs(self.sin_port);
    }
    ~Endpoint() { ::close(fd_); }

    static sockaddr_in loopback(int port) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<uint16_t>(port));
        return a;
    }
    void send(const Stamp& stamp, const sockaddr_in& to) {
        ::sendto(fd_, &stamp, sizeof stamp, 0, (const sockaddr*)&to, sizeof to);
    }
    void sendTo(int32_t sequence, int port) {
        const int64_t now = Clock::now().time_since_epoch().count();
        send(Stamp{sequence, now}, loopback(port));
    }
    // Reads all that waits, calling `take` with each datagram and its sender.
    template <typename Take>
    void drain(Take take) {
        Stamp stamp{};
        sockaddr_in from{};
        socklen_t length = sizeof from;
        while (::recvfrom(fd_, &stamp, sizeof stamp, 0, (sockaddr*)&from, &length) == sizeof stamp)
            take(stamp, from);
    }

    int port = 0;

private:
    int fd_ = -1;
};

std::string relayCounts(const std::string& err) {
    const size_t at = err.find("relay: ");
    return at == std::string::npos ? err : err.substr(at, err.find('\n', at) - at);
}

TEST(UdpRelay, LosesTheAskedShareAndDelaysTheRestAtLeastTheOneWayDelay) {
    Endpoint client, target;
    netrelay::RelayProcess relay(
        {"--listen", "0", "--to", "127.0.0.1:" + std::to_string(target.port), "--delay", "20",
         "--jitter", "10", "--loss", "30", "--seed", "5", "--packets", "200"});
    const int port = relay.waitForPort();
    ASSERT_NE(port, 0) << relay.err;

    int arrived = 0;
    int32_t newest = -1;
    int64_t shortestNs = INT64_MAX;
    auto take = [&](const Stamp& stamp, const sockaddr_in&) {
        ++arrived;
        newest = std::max(newest, stamp.sequence);
        shortestNs = std::min(shortestNs, Clock::now().time_since_epoch().count() - stamp.sentNs);
    };
    // In batches of 20, each let through before the next goes, never one burst that could
    // overflow a socket buffer: one datagram of a batch arriving shows the relay read it (the
    // seeded choices never drop a whole batch).
    constexpr int kBatch = 20;
    for (int first = 0; first < 200; first += kBatch) {
        for (int i = first; i < first + kBatch; ++i) client.sendTo(i, port);
        ASSERT_TRUE(testwait::waitUntil(
            [&] {
                target.drain(take);
                return newest >= first;
            },
            testwait::kPatienceSeconds, std::chrono::milliseconds(1)))
            << "nothing of the batch from " << first << " came through";
    }
    // With its 200 datagrams in, the relay delivers what it holds and ends by itself.
    ASSERT_TRUE(relay.waitForExit([&] { target.drain(take); }));
    target.drain(take);
    EXPECT_EQ(relay.status, 0);
    EXPECT_GT(arrived, 110);
    EXPECT_LT(arrived, 170);
    EXPECT_GE(shortestNs, 20'000'000);
    EXPECT_EQ(relayCounts(relay.err), "relay: 200 received, " + std::to_string(arrived) +
                                          " sent, " + std::to_string(200 - arrived) +
                                          " dropped, 0 duplicated, 0 reordered");
}

TEST(UdpRelay, DoublesEveryDatagramBothWaysAndRefusesABadCommandLine) {
    Endpoint client, target;
    // 25 out, 50 echoed back: 75 in all.
    netrelay::RelayProcess relay({"--listen", "0", "--to",
                                  "127.0.0.1:" + std::to_string(target.port), "--dup", "100",
                                  "--reorder", "50", "--packets", "75"});
    const int port = relay.waitForPort();
    ASSERT_NE(port, 0) << relay.err;

    std::map<int, int> atTarget, atClient;
    auto echo = [&] {
        target.drain([&](const Stamp& stamp, const sockaddr_in& from) {
            ++atTarget[stamp.sequence];
            target.send(stamp, from);
        });
        client.drain([&](const Stamp& stamp, const sockaddr_in& from) {
            ++atClient[stamp.sequence];
            EXPECT_EQ(ntohs(from.sin_port), port);
        });
    };
    for (int i = 0; i < 25; ++i) client.sendTo(i, port);
    ASSERT_TRUE(relay.waitForExit(echo));
    echo();
    EXPECT_EQ(relay.status, 0);
    ASSERT_EQ(atTarget.size(), 25u);
    ASSERT_EQ(atClient.size(), 25u);
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(atTarget[i], 2) << i;
        EXPECT_EQ(atClient[i], 4) << i;
    }
    const std::string counts = relayCounts(relay.err);
    EXPECT_EQ(counts.rfind("relay: 75 received, 150 sent, 0 dropped, 75 duplicated, ", 0), 0u)
        << counts;

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--listen", "0"},
          {"--listen", "0", "--to", "127.0.0.1:9", "--loss", "150"},
          {"--listen", "x", "--to", "127.0.0.1:9"},
          {"--to", "127.0.0.1:9", "--listen"}}) {
        netrelay::RelayProcess refused(bad);
        ASSERT_TRUE(refused.waitForExit());
        EXPECT_EQ(refused.status, 2) << bad.back();
        EXPECT_NE(refused.err.find("usage: udp_relay"), std::string::npos) << refused.err;
    }
}

TEST(UdpRelay, EndsOnSigtermWithItsCounts) {
    Endpoint target;
    netrelay::RelayProcess relay(
        {"--listen", "0", "--to", "127.0.0.1:" + std::to_string(target.port)});
    ASSERT_NE(relay.waitForPort(), 0) << relay.err;
    relay.signal(SIGTERM);
    ASSERT_TRUE(relay.waitForExit());
    EXPECT_EQ(relay.status, 0);
    EXPECT_EQ(relayCounts(relay.err),
              "relay: 0 received, 0 sent, 0 dropped, 0 duplicated, 0 reordered");
}

}  // namespace
