#pragma once
// One non-blocking UDP socket through the platform's sockets (Winsock; BSD sockets under the
// same names elsewhere). Nothing here waits: a read with nothing to read says so at once.
#include <string>

#include "net/address.h"
#include "platform/win32.h"

namespace net {

class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // The host's socket: every address (IPv6 and IPv4 where the system has both) on `port`,
    // 0 for any free port. False with the system's words in `error`.
    bool openHost(int port, std::string& error);
    // A joiner's socket, of the family of the host it will talk to, on any free port.
    bool openFor(const Address& peer, std::string& error);
    // The port it is bound to.
    int port() const;

    // Sends one datagram; a failure is the network's to cure (the next packet re-sends).
    void send(const std::string& bytes, const Address& to);
    // Reads one datagram into `buffer`: its length, or -1 when none is waiting. Longer
    // datagrams are cut to `size` (and then refused by the packet reader).
    int receive(uint8_t* buffer, int size, Address& from);

private:
    bool open(int family, std::string& error);
    bool bindTo(const sockaddr* address, socklen_t length, std::string& error);
    void close();

    SOCKET socket_ = INVALID_SOCKET;
};

// Starts the system's sockets once (Winsock needs it; a no-op elsewhere). False with why.
bool startSockets(std::string& error);
// The system's words for the last socket failure.
std::string socketErrorText();

}  // namespace net
