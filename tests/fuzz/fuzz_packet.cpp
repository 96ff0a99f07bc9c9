// A network datagram, as the session meets it: the packet reader refuses it or reads it whole,
// a packet it reads is written back to the same fields, and the inputs of an INPUTS packet,
// whatever their turns, are taken or refused by the rollback without harm.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "net/packet.h"
#include "net/rollback.h"

namespace {

bool sameInputs(const net::Inputs& a, const net::Inputs& b) {
    if (a.session != b.session || a.first != b.first || a.count != b.count || a.ack != b.ack ||
        a.turn != b.turn || a.stamp != b.stamp || a.echo != b.echo || a.echoHeld != b.echoHeld ||
        a.checkTurn != b.checkTurn || a.checkHash != b.checkHash)
        return false;
    for (int i = 0; i < a.count; ++i)
        if (a.inputs[i] != b.inputs[i]) return false;
    return true;
}

std::string encode(const net::Packet& packet) {
    switch (packet.kind) {
    case net::Kind::HELLO:
    case net::Kind::WELCOME: return net::encodeHello(packet.kind, packet.hello);
    case net::Kind::FULL: return net::encodeFull();
    case net::Kind::INPUTS: return net::encodeInputs(packet.inputs);
    case net::Kind::GOODBYE: return net::encodeGoodbye(packet.goodbye);
    }
    std::abort();
}

// The rules without their data (every move of length 0): cheap turns, and the rollback's own
// bookkeeping is what the inputs reach.
struct Match {
    MatchState state;
    TurnEvents events;
    RulesData rules;
    net::Rollback engine{state, events, rules, 1, 2};
};

Match& match() {
    static Match played;
    return played;
}

void feed(const net::Inputs& inputs) {
    net::Rollback& engine = match().engine;
    const int64_t known = engine.remoteKnown();
    for (int i = 0; i < inputs.count; ++i)
        engine.addRemote(int64_t(inputs.first) + i, inputs.inputs[i]);
    if (engine.remoteKnown() < known) std::abort();
    engine.settle();
    net::ConfirmedTurn confirmed;
    while (engine.nextConfirmed(confirmed)) {
    }
    if (engine.canAdvance(engine.localKnown())) engine.advance(TurnInput());
    match().events.clear();
    if (engine.turn() - engine.remoteKnown() > net::kMaxRollback) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    net::Packet packet;
    if (!net::decodePacket(data, size, packet)) return 0;
    const std::string again = encode(packet);
    net::Packet reread;
    if (!net::decodePacket(reinterpret_cast<const uint8_t*>(again.data()), again.size(), reread))
        std::abort();
    if (reread.kind != packet.kind) std::abort();
    if (packet.kind == net::Kind::INPUTS) {
        if (!sameInputs(packet.inputs, reread.inputs)) std::abort();
        feed(packet.inputs);
    }
    if (packet.kind == net::Kind::HELLO || packet.kind == net::Kind::WELCOME) {
        if (reread.hello.gameVersion != packet.hello.gameVersion ||
            reread.hello.dataFingerprint != packet.hello.dataFingerprint ||
            reread.hello.seed != packet.hello.seed)
            std::abort();
    }
    return 0;
}
