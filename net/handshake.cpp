#include "net/handshake.h"

#include <chrono>
#include <random>

namespace net {

namespace {

// A copy of the host's WELCOME that gets lost costs the joiner a re-sent HELLO; three copies
// of a refusal make sure the joiner hears why.
constexpr int kRefusalCopies = 3;

uint32_t newSessionToken() {
    std::random_device device;
    uint32_t token = 0;
    while (token == 0) token = device();
    return token;
}

}  // namespace

std::string differences(const Hello& ours, const Hello& theirs) {
    std::string out;
    auto add = [&out](const std::string& what) { out += (out.empty() ? "" : "; ") + what; };
    if (ours.gameVersion != theirs.gameVersion)
        add("version " + ours.gameVersion + " here, " + theirs.gameVersion + " there");
    if (ours.protocol != theirs.protocol)
        add("network protocol " + std::to_string(ours.protocol) + " here, " +
            std::to_string(theirs.protocol) + " there");
    if (ours.replayVersion != theirs.replayVersion)
        add("replay format " + std::to_string(ours.replayVersion) + " here, " +
            std::to_string(theirs.replayVersion) + " there");
    if (ours.dataFingerprint != theirs.dataFingerprint) add("the rules' data files differ");
    return out;
}

bool Handshake::host(int port, const Hello& ours, std::string& error) {
    ours_ = ours;
    ours_.session = newSessionToken();
    hosting_ = true;
    socket_ = std::make_unique<UdpSocket>();
    return socket_->openHost(port, error);
}

bool Handshake::join(const std::string& host, int port, const Hello& ours, std::string& error) {
    ours_ = ours;
    hosting_ = false;
    if (!resolve(host, port, peer_, error)) return false;
    peerName_ = describe(peer_);
    socket_ = std::make_unique<UdpSocket>();
    return socket_->openFor(peer_, error);
}

void Handshake::fail(const std::string& why) {
    state_ = State::FAILED;
    failure_ = why;
}

// One player is taken: the first HELLO. Any other asker hears that the game is full.
void Handshake::onHost(const Packet& packet, const Address& from) {
    if (packet.kind != Kind::HELLO) return;
    if (state_ != State::WAITING) {
        if (!sameAddress(from, peer_)) socket_->send(encodeFull(), from);
        return;
    }
    peer_ = from;
    const std::string differ = differences(ours_, packet.hello);
    const std::string welcome = encodeHello(Kind::WELCOME, ours_);
    if (differ.empty()) {
        socket_->send(welcome, from);
        state_ = State::CONNECTED;
        welcome_ = ours_;
        return;
    }
    for (int i = 0; i < kRefusalCopies; ++i) socket_->send(welcome, from);
    fail("the other game differs: " + differ);
}

void Handshake::onJoin(const Packet& packet, const Address& from) {
    if (!sameAddress(from, peer_)) return;
    if (packet.kind == Kind::FULL) {
        fail("the game at " + peerName_ + " is full");
        return;
    }
    if (packet.kind != Kind::WELCOME) return;
    const std::string differ = differences(ours_, packet.hello);
    if (!differ.empty()) {
        fail("the other game differs: " + differ);
        return;
    }
    // The host's choices run this game: only ones its own command line could have made.
    const Hello& run = packet.hello;
    if (run.turnRate < 1 || run.turnRate > kMostTurnRate || run.matches > kMostMatches) {
        fail("the game at " + peerName_ + " asks for " + std::to_string(run.matches) +
             " matches at " + std::to_string(run.turnRate) + " turns a second");
        return;
    }
    welcome_ = packet.hello;
    state_ = State::CONNECTED;
}

Handshake::State Handshake::step(int64_t nowMs) {
    if (started_ < 0) started_ = nowMs;
    uint8_t buffer[kMaxPacketBytes + 1];
    Address from;
    int got;
    while (state_ == State::WAITING && (got = socket_->receive(buffer, sizeof buffer, from)) >= 0) {
        Packet packet;
        if (!decodePacket(buffer, static_cast<size_t>(got), packet)) continue;
        if (hosting_)
            onHost(packet, from);
        else
            onJoin(packet, from);
    }
    if (state_ != State::WAITING || hosting_) return state_;
    if (nowMs - started_ >= kJoinTimeoutMs) {
        fail("no answer from " + peerName_);
    } else if (lastHello_ < 0 || nowMs - lastHello_ >= kHelloEveryMs) {
        socket_->send(encodeHello(Kind::HELLO, ours_), peer_);
        lastHello_ = nowMs;
    }
    return state_;
}

Link Handshake::take() {
    Link link;
    link.socket = std::move(socket_);
    link.peer = peer_;
    link.welcome = welcome_;
    link.host = hosting_;
    return link;
}

}  // namespace net
