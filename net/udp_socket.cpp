#include "net/udp_socket.h"

#include "platform/system_text.h"

namespace net {

// Without the closing full stop: the text goes inside a sentence of ours.
std::string socketErrorText() {
    const int code = WSAGetLastError();
    std::string text = vorlaxis::platform::systemText(static_cast<DWORD>(code));
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text.empty() ? "socket error " + std::to_string(code) : text;
}

bool startSockets(std::string& error) {
    static bool started = false;
    if (started) return true;
    WSADATA data;
    const int status = WSAStartup(MAKEWORD(2, 2), &data);
    if (status != 0) {
        error = "the system's sockets did not start (error " + std::to_string(status) + ")";
        return false;
    }
    started = true;
    return true;
}

UdpSocket::~UdpSocket() { close(); }

void UdpSocket::close() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

bool UdpSocket::open(int family, std::string& error) {
    close();
    if (!startSockets(error)) return false;
    socket_ = ::socket(family, SOCK_DGRAM, IPPROTO_UDP);
    if (socket_ == INVALID_SOCKET) {
        error = socketErrorText();
        return false;
    }
    u_long nonBlocking = 1;
    if (ioctlsocket(socket_, FIONBIO, &nonBlocking) != 0) {
        error = socketErrorText();
        close();
        return false;
    }
    return true;
}

bool UdpSocket::bindTo(const sockaddr* address, socklen_t length, std::string& error) {
    if (::bind(socket_, address, length) == 0) return true;
    error = socketErrorText();
    close();
    return false;
}

bool UdpSocket::openHost(int port, std::string& error) {
    // One IPv6 socket that takes IPv4 too; a system without IPv6 gets an IPv4 one.
    std::string sixError;
    if (open(AF_INET6, sixError)) {
        int off = 0;
        setsockopt(socket_, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&off),
                   sizeof off);
        sockaddr_in6 any{};  // all zero: every address
        any.sin6_family = AF_INET6;
        any.sin6_port = htons(static_cast<u_short>(port));
        if (bindTo(reinterpret_cast<const sockaddr*>(&any), sizeof any, error)) return true;
        if (WSAGetLastError() == WSAEADDRINUSE) return false;
    }
    if (!open(AF_INET, error)) return false;
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    any.sin_port = htons(static_cast<u_short>(port));
    return bindTo(reinterpret_cast<const sockaddr*>(&any), sizeof any, error);
}

bool UdpSocket::openFor(const Address& peer, std::string& error) {
    if (!open(peer.family(), error)) return false;
    sockaddr_storage any{};
    any.ss_family = static_cast<decltype(any.ss_family)>(peer.family());
    const socklen_t length = peer.family() == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    return bindTo(reinterpret_cast<const sockaddr*>(&any), length, error);
}

int UdpSocket::port() const {
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (getsockname(socket_, reinterpret_cast<sockaddr*>(&bound), &length) != 0) return 0;
    if (bound.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
}

void UdpSocket::send(const std::string& bytes, const Address& to) {
    if (socket_ == INVALID_SOCKET) return;
    sendto(socket_, bytes.data(), static_cast<int>(bytes.size()), 0, to.raw(), to.length);
}

int UdpSocket::receive(uint8_t* buffer, int size, Address& from) {
    if (socket_ == INVALID_SOCKET) return -1;
    // Windows reports an earlier datagram's "port unreachable" on the next read; it says
    // nothing about the datagrams waiting, so read on.
    for (int tries = 0; tries < 8; ++tries) {
        from = Address();
        from.length = sizeof from.storage;
        const int got = recvfrom(socket_, reinterpret_cast<char*>(buffer), size, 0,
                                 reinterpret_cast<sockaddr*>(&from.storage), &from.length);
        if (got >= 0) return got;
        const int code = WSAGetLastError();
        if (code == WSAEMSGSIZE) return size;
        if (code != WSAECONNRESET) return -1;
    }
    return -1;
}

}  // namespace net
