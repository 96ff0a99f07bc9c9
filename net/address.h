#pragma once
// Where the other game is: an address and UDP port, as the system's sockets take them.
#include <cstdint>
#include <string>

#include "platform/win32.h"

namespace net {

struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;

    bool valid() const { return length > 0; }
    int family() const { return storage.ss_family; }
    const sockaddr* raw() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

// Resolves a host name or a numeric IPv4 or IPv6 address (without brackets) and a port. False
// with the resolver's own words in `error`.
bool resolve(const std::string& host, int port, Address& address, std::string& error);
// "192.168.1.5:7461", "[2001:db8::1]:7461"; an IPv4 peer seen through an IPv6 socket is shown
// as IPv4.
std::string describe(const Address& address);
// Same family, address and port (an IPv4 address and its IPv6-mapped form count as the same).
bool sameAddress(const Address& a, const Address& b);

}  // namespace net
