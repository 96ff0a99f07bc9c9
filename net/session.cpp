#include "net/session.h"

#include <algorithm>

namespace net {

Session::Session(Link link, int64_t nowMs)
    : link_(std::move(link)), start_(nowMs), heardAt_(nowMs) {}

// The joiner's HELLO may come again when our WELCOME was lost; others hear the game is full.
bool Session::fromPeer(const Address& from, const Packet& packet) {
    const bool peer = sameAddress(from, link_.peer);
    if (packet.kind == Kind::HELLO && link_.host) {
        link_.socket->send(peer ? encodeHello(Kind::WELCOME, link_.welcome) : encodeFull(), from);
        return peer;
    }
    if (!peer) return false;
    switch (packet.kind) {
    case Kind::INPUTS: return packet.inputs.session == token();
    case Kind::GOODBYE: return packet.goodbye.session == token();
    case Kind::WELCOME: return !link_.host;  // a late copy: harmless
    default: return false;
    }
}

void Session::receive(Rollback& rollback, int64_t nowMs) {
    uint8_t buffer[kMaxPacketBytes + 1];
    Address from;
    for (int reads = 0; reads < kMostReadsPerTurn; ++reads) {
        const int got = link_.socket->receive(buffer, sizeof buffer, from);
        if (got < 0) break;
        Packet packet;
        if (!decodePacket(buffer, static_cast<size_t>(got), packet) || !fromPeer(from, packet)) {
            ++dropped_;
            continue;
        }
        heardAt_ = nowMs;
        if (packet.kind == Kind::INPUTS) onInputs(packet.inputs, rollback, nowMs);
        if (packet.kind == Kind::GOODBYE) onGoodbye(packet.goodbye);
    }
}

void Session::onInputs(const Inputs& in, Rollback& rollback, int64_t nowMs) {
    // An acknowledgement of inputs we never sent, a turn past what our inputs let the other
    // side play, or a hash of a turn that is no checkpoint or not yet played comes from no
    // game of ours.
    if (in.ack > rollback.localKnown() || in.turn > rollback.localKnown() + kMaxRollback ||
        in.checkTurn % kCheckEvery != 0 || in.checkTurn > in.turn) {
        ++dropped_;
        return;
    }
    bool kept = true;
    for (int i = 0; i < in.count; ++i)
        kept = rollback.addRemote(int64_t(in.first) + i, in.inputs[i]) && kept;
    if (!kept) ++dropped_;
    peerAck_ = std::max<int64_t>(peerAck_, in.ack);
    peerTurn_ = std::max<int64_t>(peerTurn_, in.turn);
    peerAdvantage_ = in.advantage / 10.0;
    if (in.stamp >= echo_) {
        echo_ = in.stamp;
        echoAt_ = nowMs;
    }
    if (in.echo != 0) {
        const int64_t sample = (nowMs - start_ + 1) - int64_t(in.echo) - in.echoHeld;
        if (sample >= 0 && sample < kLostMs)
            roundTrip_ = roundTrip_ < 0 ? int(sample) : int((7 * int64_t(roundTrip_) + sample) / 8);
    }
    if (in.checkTurn > theirTurn_) {
        theirTurn_ = in.checkTurn;
        theirHash_ = in.checkHash;
        compareHashes();
    }
}

void Session::onGoodbye(const Goodbye& goodbye) {
    switch (goodbye.reason) {
    case Reason::FINISHED:
    case Reason::LEFT:
        (goodbye.reason == Reason::LEFT ? peerLeft_ : peerFinished_) = true;
        if (peerEnd_ < 0 || goodbye.turn < peerEnd_) peerEnd_ = goodbye.turn;
        return;
    case Reason::OUT_OF_SYNC: ending_ = Ending::OUT_OF_SYNC; break;
    case Reason::DIFFERENT: ending_ = Ending::DIFFERENT; break;
    }
    endTurn_ = goodbye.turn;
}

void Session::noteCheckpoint(uint32_t turn, uint64_t hash) {
    newest_ = (newest_ + 1) % kCheckpoints;
    ourTurns_[newest_] = turn;
    ourHashes_[newest_] = hash;
    compareHashes();
}

void Session::compareHashes() {
    if (theirTurn_ == 0 || ending_ != Ending::NONE) return;
    for (int i = 0; i < kCheckpoints; ++i) {
        if (ourTurns_[i] != theirTurn_) continue;
        if (ourHashes_[i] != theirHash_) {
            ending_ = Ending::OUT_OF_SYNC;
            endTurn_ = theirTurn_;
        }
        return;
    }
}

void Session::send(const Rollback& rollback, int64_t end, double advantage, int64_t nowMs) {
    Inputs out;
    out.session = token();
    const int64_t known = end >= 0 ? std::min(end, rollback.localKnown()) : rollback.localKnown();
    const int64_t first = std::max<int64_t>(peerAck_, rollback.localKnown() - kInputRing / 2);
    out.first = static_cast<uint32_t>(first);
    const int64_t count = std::min<int64_t>(known - first, kMaxInputsPerPacket);
    out.count = static_cast<uint8_t>(std::max<int64_t>(count, 0));
    for (int i = 0; i < out.count; ++i) out.inputs[i] = rollback.localInput(first + i);
    out.ack = static_cast<uint32_t>(rollback.remoteKnown());
    out.turn = static_cast<uint32_t>(rollback.turn());
    // Stamps count from 1: 0 says "none yet".
    out.stamp = static_cast<uint32_t>(nowMs - start_ + 1);
    out.echo = echo_;
    out.echoHeld = static_cast<uint16_t>(std::min<int64_t>(nowMs - echoAt_, UINT16_MAX));
    out.advantage = static_cast<int8_t>(std::clamp(advantage * 10.0, -127.0, 127.0));
    if (newest_ >= 0) {
        out.checkTurn = ourTurns_[newest_];
        out.checkHash = ourHashes_[newest_];
    }
    link_.socket->send(encodeInputs(out), link_.peer);
}

void Session::sayGoodbye(Reason reason, uint32_t turn, int copies) {
    Goodbye goodbye;
    goodbye.session = token();
    goodbye.reason = reason;
    goodbye.turn = turn;
    const std::string bytes = encodeGoodbye(goodbye);
    for (int i = 0; i < copies; ++i) link_.socket->send(bytes, link_.peer);
}

}  // namespace net
