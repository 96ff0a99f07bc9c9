#include "net/address.h"

#include <cstring>

namespace net {

namespace {

// The IPv4 address inside an IPv6-mapped one (::ffff:a.b.c.d), or the address itself.
Address unmapped(const Address& address) {
    if (address.family() != AF_INET6) return address;
    const auto* six = reinterpret_cast<const sockaddr_in6*>(&address.storage);
    static const uint8_t kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    const auto* bytes = reinterpret_cast<const uint8_t*>(&six->sin6_addr);
    if (std::memcmp(bytes, kMappedPrefix, sizeof kMappedPrefix) != 0) return address;
    Address four;
    auto* in = reinterpret_cast<sockaddr_in*>(&four.storage);
    in->sin_family = AF_INET;
    in->sin_port = six->sin6_port;
    std::memcpy(&in->sin_addr, bytes + 12, 4);
    four.length = sizeof(sockaddr_in);
    return four;
}

}  // namespace

bool resolve(const std::string& host, int port, Address& address, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    const int status = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    if (status != 0 || !found) {
        error = status != 0 ? gai_strerror(status) : "no address";
        return false;
    }
    address = Address();
    std::memcpy(&address.storage, found->ai_addr, found->ai_addrlen);
    address.length = static_cast<socklen_t>(found->ai_addrlen);
    freeaddrinfo(found);
    return true;
}

std::string describe(const Address& address) {
    const Address shown = unmapped(address);
    char host[128] = "?";
    char port[16] = "?";
    getnameinfo(shown.raw(), shown.length, host, sizeof host, port, sizeof port,
                NI_NUMERICHOST | NI_NUMERICSERV);
    if (shown.family() == AF_INET6) return std::string("[") + host + "]:" + port;
    return std::string(host) + ":" + port;
}

bool sameAddress(const Address& a, const Address& b) {
    const Address x = unmapped(a);
    const Address y = unmapped(b);
    if (x.family() != y.family()) return false;
    if (x.family() == AF_INET) {
        const auto* p = reinterpret_cast<const sockaddr_in*>(&x.storage);
        const auto* q = reinterpret_cast<const sockaddr_in*>(&y.storage);
        return p->sin_port == q->sin_port && std::memcmp(&p->sin_addr, &q->sin_addr, 4) == 0;
    }
    if (x.family() == AF_INET6) {
        const auto* p = reinterpret_cast<const sockaddr_in6*>(&x.storage);
        const auto* q = reinterpret_cast<const sockaddr_in6*>(&y.storage);
        return p->sin6_port == q->sin6_port &&
               std::memcmp(&p->sin6_addr, &q->sin6_addr, sizeof p->sin6_addr) == 0;
    }
    return false;
}

}  // namespace net
