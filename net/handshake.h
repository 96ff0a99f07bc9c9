#pragma once
// Finding the other game: the host waits on its port for one HELLO and answers WELCOME with
// the run it chose; the joiner sends HELLO four times a second until the host answers or ten
// seconds pass. Both compare what the two games are (version, protocol, replay format, the
// rules' data) and refuse to play when they differ.
#include <cstdint>
#include <memory>
#include <string>

#include "net/address.h"
#include "net/packet.h"
#include "net/udp_socket.h"

namespace net {

constexpr int64_t kJoinTimeoutMs = 10000;
constexpr int64_t kHelloEveryMs = 250;
// The most a host may ask of the joiner (as on the command line).
constexpr int kMostTurnRate = 1000;
constexpr uint32_t kMostMatches = 1000000;

// A finished handshake: the socket, the other game's address and the session they share.
struct Link {
    std::unique_ptr<UdpSocket> socket;
    Address peer;
    // The host's WELCOME (its choices); the host answers a repeated HELLO with it again.
    Hello welcome;
    bool host = false;
};

// What differs between two games, e.g. "version 1.0.0 here, 1.0.1 there"; empty when they
// can play together.
std::string differences(const Hello& ours, const Hello& theirs);

class Handshake {
public:
    enum class State { WAITING, CONNECTED, FAILED };

    // `ours` says what this game is; a host's also carries the run it chose.
    bool host(int port, const Hello& ours, std::string& error);
    bool join(const std::string& host, int port, const Hello& ours, std::string& error);
    // Reads what has arrived and answers; the joiner also (re)sends its HELLO when due.
    State step(int64_t nowMs);
    // Why it failed: "no answer from ...", "the game at ... is full", "the other game differs:
    // ...".
    const std::string& failure() const { return failure_; }
    int port() const { return socket_ ? socket_->port() : 0; }
    // Who the joiner asks for (as given), or "" for the host.
    const std::string& peerName() const { return peerName_; }
    // The link, once CONNECTED.
    Link take();

private:
    void onHost(const Packet& packet, const Address& from);
    void onJoin(const Packet& packet, const Address& from);
    void fail(const std::string& why);

    std::unique_ptr<UdpSocket> socket_;
    Hello ours_;
    bool hosting_ = false;
    Address peer_;
    std::string peerName_;
    State state_ = State::WAITING;
    std::string failure_;
    int64_t started_ = -1;
    int64_t lastHello_ = -1;
    Hello welcome_;
};

}  // namespace net
