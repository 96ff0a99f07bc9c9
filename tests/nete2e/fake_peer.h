// A stand-in for the other game, or for a stranger: one UDP socket on the loopback that sends
// packets of the game's protocol (or anything else) and waits for the ones it expects.
#pragma once

#include <chrono>
#include <string>

#include "net/address.h"
#include "net/packet.h"
#include "net/udp_socket.h"
#include "tests/support/wait.h"

namespace nete2e {

class FakePeer {
public:
    // A host's socket on any free port.
    bool listen() { return socket_.openHost(0, error); }
    // A socket that talks to the game on `port` of 127.0.0.1.
    bool aimAt(int port) {
        return net::resolve("127.0.0.1", port, game, error) && socket_.openFor(game, error);
    }
    int port() const { return socket_.port(); }

    void send(const std::string& bytes) { socket_.send(bytes, game); }

    // Reads what has arrived; true when a packet of `kind` came (it is then in `got`, and its
    // sender in `game`).
    bool take(net::Kind kind) {
        uint8_t buffer[net::kMaxPacketBytes + 1];
        net::Address from;
        int size;
        while ((size = socket_.receive(buffer, sizeof buffer, from)) >= 0) {
            net::Packet packet;
            if (!net::decodePacket(buffer, static_cast<size_t>(size), packet) ||
                packet.kind != kind)
                continue;
            got = packet;
            game = from;
            return true;
        }
        return false;
    }

    // Waits for a packet of `kind`, sending `nudge` (when not empty) four times a second
    // meanwhile, as a game does while it asks; false after `seconds`.
    bool await(net::Kind kind, int seconds, const std::string& nudge = "") {
        auto last = std::chrono::steady_clock::time_point();
        return testwait::waitUntil(
            [&] {
                const auto now = std::chrono::steady_clock::now();
                if (!nudge.empty() && now - last >= std::chrono::milliseconds(250)) {
                    send(nudge);
                    last = now;
                }
                return take(kind);
            },
            seconds, std::chrono::milliseconds(5));
    }

    net::Address game;
    net::Packet got;
    std::string error;

private:
    net::UdpSocket socket_;
};

}  // namespace nete2e
