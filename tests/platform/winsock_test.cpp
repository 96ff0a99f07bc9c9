// UDP through the Winsock calls: non-blocking exchange on both families, dual stack, and the
// errors the game tells apart, with their texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32.h"
#include "tests/support/wait.h"

namespace {

SOCKET openUdp(int family) {
    SOCKET s = socket(family, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return s;
    u_long one = 1;
    EXPECT_EQ(ioctlsocket(s, FIONBIO, &one), 0);
    return s;
}

// Binds to `host`:`port` (0 = any free port); the port bound, 0 on failure.
int bindTo(SOCKET s, const char* host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICHOST;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, std::to_string(port).c_str(), &hints, &found) != 0) return 0;
    const int bound = bind(s, found->ai_addr, static_cast<int>(found->ai_addrlen));
    freeaddrinfo(found);
    sockaddr_storage self{};
    socklen_t length = sizeof self;
    if (bound == SOCKET_ERROR || getsockname(s, (sockaddr*)&self, &length) == SOCKET_ERROR)
        return 0;
    return ntohs(self.ss_family == AF_INET6 ? ((sockaddr_in6*)&self)->sin6_port
                                            : ((sockaddr_in*)&self)->sin_port);
}

std::string errorText(int code) {
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, sizeof text, nullptr);
    return text;
}

// Sends "ping" from `from` to `host`:`port` and reads it at `to`, which must first be empty.
// Returns the sender's numeric address as `to` saw it.
std::string exchange(SOCKET from, SOCKET to, const char* host, int port) {
    char buffer[64];
    sockaddr_storage peer{};
    socklen_t peerLength = sizeof peer;
    EXPECT_EQ(recvfrom(to, buffer, sizeof buffer, 0, (sockaddr*)&peer, &peerLength), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);

    addrinfo hints{};
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* target = nullptr;
    EXPECT_EQ(getaddrinfo(host, std::to_string(port).c_str(), &hints, &target), 0);
    if (!target) return "";
    EXPECT_EQ(sendto(from, "ping", 4, 0, target->ai_addr, static_cast<int>(target->ai_addrlen)), 4);
    freeaddrinfo(target);

    int received = SOCKET_ERROR;
    testwait::waitUntil([&] {
        peerLength = sizeof peer;
        received = recvfrom(to, buffer, sizeof buffer, 0, (sockaddr*)&peer, &peerLength);
        if (received != SOCKET_ERROR) return true;
        EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
        return false;
    });
    EXPECT_EQ(std::string(buffer, received > 0 ? received : 0), "ping");
    char name[NI_MAXHOST] = "", service[NI_MAXSERV] = "";
    EXPECT_EQ(getnameinfo((sockaddr*)&peer, peerLength, name, sizeof name, service, sizeof service,
                          NI_NUMERICHOST | NI_NUMERICSERV),
              0);
    return name;
}

class Winsock : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        EXPECT_EQ(data.wVersion, MAKEWORD(2, 2));
    }
    void TearDown() override { EXPECT_EQ(WSACleanup(), 0); }
};

TEST_F(Winsock, NonBlockingDatagramsCrossLoopbackOnEachFamilyAndADualStackSocketTakesIpv4) {
    SOCKET a = openUdp(AF_INET), b = openUdp(AF_INET);
    ASSERT_NE(a, INVALID_SOCKET);
    ASSERT_NE(b, INVALID_SOCKET);
    ASSERT_NE(bindTo(a, "127.0.0.1", 0), 0);
    const int portB = bindTo(b, "127.0.0.1", 0);
    ASSERT_NE(portB, 0);
    EXPECT_EQ(exchange(a, b, "127.0.0.1", portB), "127.0.0.1");
    EXPECT_EQ(closesocket(b), 0);

    SOCKET six = openUdp(AF_INET6);
    if (six == INVALID_SOCKET) {
        EXPECT_EQ(WSAGetLastError(), WSAEAFNOSUPPORT);
        closesocket(a);
        GTEST_SKIP() << "no IPv6 here";
    }
    int off = 0;
    ASSERT_EQ(setsockopt(six, IPPROTO_IPV6, IPV6_V6ONLY, (const char*)&off, sizeof off), 0);
    const int portSix = bindTo(six, "::", 0);
    ASSERT_NE(portSix, 0);
    EXPECT_EQ(exchange(a, six, "127.0.0.1", portSix), "::ffff:127.0.0.1");

    SOCKET other = openUdp(AF_INET6);
    if (bindTo(other, "::1", 0) != 0) {
        EXPECT_EQ(exchange(other, six, "::1", portSix), "::1");
    } else {
        EXPECT_EQ(WSAGetLastError(), WSAEADDRNOTAVAIL) << "::1 is missing, not refused";
    }
    for (SOCKET s : {a, six, other}) EXPECT_EQ(closesocket(s), 0);
}

TEST_F(Winsock, FailuresGiveTheWindowsCodesAndReadableTexts) {
    SOCKET first = openUdp(AF_INET), second = openUdp(AF_INET);
    const int port = bindTo(first, "127.0.0.1", 0);
    ASSERT_NE(port, 0);
    EXPECT_EQ(bindTo(second, "127.0.0.1", port), 0);
    EXPECT_EQ(WSAGetLastError(), WSAEADDRINUSE);
    EXPECT_NE(errorText(WSAEADDRINUSE).find("in use"), std::string::npos);
    for (int code : {WSAEWOULDBLOCK, WSAECONNRESET, WSAEMSGSIZE, WSAEINTR, WSAEACCES,
                     WSAEAFNOSUPPORT, WSAEADDRNOTAVAIL})
        EXPECT_GT(errorText(code).size(), 3u) << code;

    // Only sockets are closed: a descriptor of anything else is left alone.
    EXPECT_EQ(closesocket(0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(closesocket(INVALID_SOCKET), SOCKET_ERROR);
    EXPECT_EQ(closesocket(first), 0);
    EXPECT_EQ(closesocket(first), SOCKET_ERROR);
    EXPECT_EQ(closesocket(second), 0);

    // An empty label is refused before any name server is asked, so no network is needed.
    addrinfo* found = nullptr;
    const int failed = getaddrinfo("host..invalid", "9000", nullptr, &found);
    EXPECT_NE(failed, 0);
    EXPECT_EQ(found, nullptr);
    EXPECT_GT(std::strlen(gai_strerror(failed)), 3u);
}

}  // namespace
