#pragma once
// The network match's packets, in one byte layout for every platform (little-endian, fixed
// field sizes). Every packet starts with "VXN", the protocol's version and its kind:
//   HELLO    joiner to host: who is asking (the game's version, replay format, rules' data)
//   WELCOME  host to joiner: the same about the host, plus the run it chose and a session token
//   FULL     host to anyone else: the game already has its two players
//   INPUTS   every turn, both ways: the inputs the other side has not acknowledged, the
//            acknowledgement of its own, the sender's turn and clock (for the pace and the
//            round trip) and the latest state hash of a confirmed turn. With no input in it,
//            it is the keep-alive.
//   GOODBYE  the sender ends the match, and why
// decodePacket checks everything a packet says against what it can be; what the packet says
// against the match (the session, the turn window, the sender's address) is the session's check.
#include <cstddef>
#include <cstdint>
#include <string>

namespace net {

constexpr uint8_t kProtocolVersion = 1;
// No packet is longer: well under any path's MTU.
constexpr size_t kMaxPacketBytes = 256;
// Inputs one INPUTS packet carries at most (two bytes each).
constexpr int kMaxInputsPerPacket = 64;
// Texts of the hello hold at most this many bytes.
constexpr size_t kVersionTextMax = 16;

enum class Kind : uint8_t { HELLO = 1, WELCOME = 2, FULL = 3, INPUTS = 4, GOODBYE = 5 };

// HELLO and WELCOME. Their layout stays the same in every protocol version, so that two games
// of different versions can still tell each other so.
struct Hello {
    std::string gameVersion;
    uint8_t protocol = kProtocolVersion;
    uint16_t replayVersion = 0;
    uint64_t dataFingerprint = 0;
    // The host's choices (WELCOME only; zero in a HELLO).
    uint32_t session = 0;
    uint64_t seed = 0;
    uint32_t matches = 0;
    uint16_t turnRate = 0;
    uint8_t endless = 0;
    uint8_t inputDelay = 0;
};

struct Inputs {
    uint32_t session = 0;
    // The sender's inputs for turns first .. first + count - 1, packed (TurnInput::pack).
    uint32_t first = 0;
    uint8_t count = 0;
    uint16_t inputs[kMaxInputsPerPacket] = {};
    // The sender holds every input of ours for the turns before `ack`.
    uint32_t ack = 0;
    // The turn the sender is about to play, and its clock in ms when it sent this.
    uint32_t turn = 0;
    uint32_t stamp = 0;
    // The newest stamp the sender had from us, and how long it held it before this packet.
    uint32_t echo = 0;
    uint16_t echoHeld = 0;
    // The hash of the state after `checkTurn` turns (0: no check yet).
    uint32_t checkTurn = 0;
    uint64_t checkHash = 0;
    // How far the sender ran ahead of us over its last second, in tenths of a turn.
    int8_t advantage = 0;
};

enum class Reason : uint8_t { LEFT = 1, FINISHED = 2, OUT_OF_SYNC = 3, DIFFERENT = 4 };

struct Goodbye {
    uint32_t session = 0;
    Reason reason = Reason::LEFT;
    // LEFT, FINISHED: the sender's last confirmed turn; OUT_OF_SYNC: the turn whose hashes differ.
    uint32_t turn = 0;
};

struct Packet {
    Kind kind = Kind::INPUTS;
    Hello hello;
    Inputs inputs;
    Goodbye goodbye;
};

std::string encodeHello(Kind kind, const Hello& hello);
std::string encodeFull();
std::string encodeInputs(const Inputs& inputs);
std::string encodeGoodbye(const Goodbye& goodbye);

// Reads one datagram. False for anything that is not a whole, well-formed packet of this
// protocol: wrong magic, unknown kind, wrong length, an input word with bits TurnInput never
// sets, a reason that does not exist.
bool decodePacket(const uint8_t* data, size_t size, Packet& packet);

}  // namespace net
