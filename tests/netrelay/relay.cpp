#include "relay.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace netrelay {

namespace {

bool sameAddress(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

}  // namespace

UdpRelay::~UdpRelay() {
    if (socket_ >= 0) ::close(socket_);
}

bool UdpRelay::open(std::string* error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(options_.targetPort);
    const int resolved =
        ::getaddrinfo(options_.targetHost.c_str(), service.c_str(), &hints, &found);
    if (resolved != 0) {
        *error = "cannot resolve " + options_.targetHost + ": " + ::gai_strerror(resolved);
        return false;
    }
    std::memcpy(&target_, found->ai_addr, sizeof target_);
    ::freeaddrinfo(found);

    socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    self.sin_port = htons(static_cast<uint16_t>(options_.listenPort));
    socklen_t length = sizeof self;
    if (socket_ < 0 || ::bind(socket_, (sockaddr*)&self, sizeof self) != 0 ||
        ::getsockname(socket_, (sockaddr*)&self, &length) != 0) {
        *error = "cannot listen on UDP port " + std::to_string(options_.listenPort) + ": " +
                 std::strerror(errno);
        return false;
    }
    port_ = ntohs(self.sin_port);
    // Losses are the ones asked for: a burst must not overflow the relay's own buffers.
    const int bufferBytes = 4 << 20;
    ::setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);
    ::setsockopt(socket_, SOL_SOCKET, SO_SNDBUF, &bufferBytes, sizeof bufferBytes);
    return true;
}

void UdpRelay::run(const volatile std::sig_atomic_t& stop) {
    // The stopping signals reach us only inside ppoll, so one cannot slip in between the
    // check of `stop` and the wait.
    sigset_t blocked, waiting;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigprocmask(SIG_BLOCK, &blocked, &waiting);
    const auto end =
        Clock::now() + std::chrono::microseconds(static_cast<int64_t>(options_.seconds * 1e6));
    while (!stop && Clock::now() < end) {
        const bool listening = counts_.received < options_.packets;
        if (!listening && queue_.empty()) break;
        pollfd readable{socket_, static_cast<short>(listening ? POLLIN : 0), 0};
        const int timeout = pollTimeoutMs(end);
        const timespec wait{timeout / 1000, (timeout % 1000) * 1000000L};
        if (::ppoll(&readable, 1, &wait, &waiting) > 0 && (readable.revents & POLLIN)) receiveAll();
        sendDue();
    }
    sigprocmask(SIG_SETMASK, &waiting, nullptr);
}

void UdpRelay::receiveAll() {
    char buffer[65536];
    while (counts_.received < options_.packets) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t size =
            ::recvfrom(socket_, buffer, sizeof buffer, 0, (sockaddr*)&from, &length);
        // Nothing more to read, or a peer's port-unreachable: either way, wait again.
        if (size < 0) return;
        ++counts_.received;
        route(buffer, static_cast<size_t>(size), from);
    }
}

void UdpRelay::route(const char* data, size_t size, const sockaddr_in& from) {
    if (!sameAddress(from, target_)) {
        client_ = from;
        haveClient_ = true;
        schedule(data, size, target_, false);
    } else if (haveClient_) {
        schedule(data, size, client_, false);
    } else {
        ++counts_.dropped;  // the target spoke first: there is no one to pass it to yet
    }
}

void UdpRelay::schedule(const char* data, size_t size, const sockaddr_in& to, bool copy) {
    // Every choice is drawn whatever the outcome, so that one changed rate leaves the others'
    // choices where they were.
    const bool lost = chance(options_.lossPercent);
    auto delay = std::chrono::milliseconds(options_.delayMs) + upTo(options_.jitterMs);
    const bool held = chance(options_.reorderPercent);
    const bool doubled = chance(options_.dupPercent);
    if (copy) {
        enqueue(data, size, to, delay);
        return;
    }
    if (lost) {
        ++counts_.dropped;
        return;
    }
    if (held) {
        delay += std::chrono::milliseconds(options_.jitterMs + 20);
        ++counts_.reordered;
    }
    enqueue(data, size, to, delay);
    if (doubled) {
        ++counts_.duplicated;
        schedule(data, size, to, true);
    }
}

void UdpRelay::enqueue(const char* data, size_t size, const sockaddr_in& to,
                       std::chrono::microseconds delay) {
    queue_.push(Pending{Clock::now() + delay, nextOrder_++, to, {data, data + size}});
}

void UdpRelay::sendDue() {
    const auto now = Clock::now();
    while (!queue_.empty() && queue_.top().due <= now) {
        const Pending& next = queue_.top();
        if (::sendto(socket_, next.data.data(), next.data.size(), 0, (const sockaddr*)&next.to,
                     sizeof next.to) >= 0)
            ++counts_.sent;
        queue_.pop();
    }
}

int UdpRelay::pollTimeoutMs(Clock::time_point end) const {
    auto until = end;
    if (!queue_.empty()) until = std::min(until, queue_.top().due);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    return static_cast<int>(std::clamp<int64_t>(left, 0, 1000));
}

bool UdpRelay::chance(double percent) {
    // 53 random bits as a fraction: the same on every standard library, unlike the
    // distributions, whose algorithms are the library's own.
    const double draw = static_cast<double>(random_() >> 11) * 0x1.0p-53;
    return draw * 100 < percent;
}

std::chrono::microseconds UdpRelay::upTo(int ms) {
    return std::chrono::microseconds(random_() % (static_cast<uint64_t>(ms) * 1000 + 1));
}

}  // namespace netrelay
