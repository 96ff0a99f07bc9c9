#include "net/packet.h"

#include <cstring>

#include "match/TurnInput.h"

namespace net {

namespace {

constexpr char kMagic[3] = {'V', 'X', 'N'};
constexpr size_t kHeaderBytes = 5;
constexpr size_t kHelloBytes = kHeaderBytes + kVersionTextMax + 2 + 8 + 4 + 8 + 4 + 2 + 1 + 1;
constexpr size_t kInputsFixedBytes = kHeaderBytes + 4 + 4 + 1 + 4 + 4 + 4 + 4 + 2 + 4 + 8 + 1;
constexpr size_t kGoodbyeBytes = kHeaderBytes + 4 + 1 + 4;

void put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

std::string header(Kind kind, uint8_t protocol = kProtocolVersion) {
    std::string out(kMagic, sizeof kMagic);
    put(out, protocol, 1);
    put(out, static_cast<uint8_t>(kind), 1);
    return out;
}

// Reads fields in order; a read past the end marks the whole read as failed.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t get(int bytes) {
        if (pos_ + bytes > size_) {
            failed_ = true;
            return 0;
        }
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) value |= uint64_t(data_[pos_ + i]) << (8 * i);
        pos_ += bytes;
        return value;
    }
    std::string text(size_t bytes) {
        if (pos_ + bytes > size_) {
            failed_ = true;
            return {};
        }
        const char* start = reinterpret_cast<const char*>(data_ + pos_);
        pos_ += bytes;
        return std::string(start, strnlen(start, bytes));
    }
    bool whole() const { return !failed_ && pos_ == size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

// Only printable ASCII: a version is shown to the player as it came.
bool printable(const std::string& text) {
    for (char c : text)
        if (c < 0x20 || c > 0x7e) return false;
    return true;
}

bool readHello(Reader& in, Hello& hello) {
    hello.gameVersion = in.text(kVersionTextMax);
    hello.replayVersion = static_cast<uint16_t>(in.get(2));
    hello.dataFingerprint = in.get(8);
    hello.session = static_cast<uint32_t>(in.get(4));
    hello.seed = in.get(8);
    hello.matches = static_cast<uint32_t>(in.get(4));
    hello.turnRate = static_cast<uint16_t>(in.get(2));
    hello.endless = static_cast<uint8_t>(in.get(1));
    hello.inputDelay = static_cast<uint8_t>(in.get(1));
    return in.whole() && printable(hello.gameVersion) && hello.endless <= 1;
}

bool readInputs(Reader& in, Inputs& inputs) {
    inputs.session = static_cast<uint32_t>(in.get(4));
    inputs.first = static_cast<uint32_t>(in.get(4));
    inputs.count = static_cast<uint8_t>(in.get(1));
    if (inputs.count > kMaxInputsPerPacket) return false;
    inputs.ack = static_cast<uint32_t>(in.get(4));
    inputs.turn = static_cast<uint32_t>(in.get(4));
    inputs.stamp = static_cast<uint32_t>(in.get(4));
    inputs.echo = static_cast<uint32_t>(in.get(4));
    inputs.echoHeld = static_cast<uint16_t>(in.get(2));
    inputs.checkTurn = static_cast<uint32_t>(in.get(4));
    inputs.checkHash = in.get(8);
    inputs.advantage = static_cast<int8_t>(static_cast<uint8_t>(in.get(1)));
    for (int i = 0; i < inputs.count; ++i) {
        inputs.inputs[i] = static_cast<uint16_t>(in.get(2));
        if (!TurnInput::packable(inputs.inputs[i])) return false;
    }
    return in.whole() && uint64_t(inputs.first) + inputs.count <= UINT32_MAX;
}

bool readGoodbye(Reader& in, Goodbye& goodbye) {
    goodbye.session = static_cast<uint32_t>(in.get(4));
    const uint64_t reason = in.get(1);
    goodbye.turn = static_cast<uint32_t>(in.get(4));
    if (reason < uint8_t(Reason::LEFT) || reason > uint8_t(Reason::DIFFERENT)) return false;
    goodbye.reason = static_cast<Reason>(reason);
    return in.whole();
}

}  // namespace

std::string encodeHello(Kind kind, const Hello& hello) {
    std::string out = header(kind, hello.protocol);
    std::string version = hello.gameVersion.substr(0, kVersionTextMax);
    version.resize(kVersionTextMax, '\0');
    out += version;
    put(out, hello.replayVersion, 2);
    put(out, hello.dataFingerprint, 8);
    put(out, hello.session, 4);
    put(out, hello.seed, 8);
    put(out, hello.matches, 4);
    put(out, hello.turnRate, 2);
    put(out, hello.endless, 1);
    put(out, hello.inputDelay, 1);
    return out;
}

std::string encodeFull() { return header(Kind::FULL); }

std::string encodeInputs(const Inputs& inputs) {
    std::string out = header(Kind::INPUTS);
    put(out, inputs.session, 4);
    put(out, inputs.first, 4);
    const int count = inputs.count > kMaxInputsPerPacket ? kMaxInputsPerPacket : inputs.count;
    put(out, count, 1);
    put(out, inputs.ack, 4);
    put(out, inputs.turn, 4);
    put(out, inputs.stamp, 4);
    put(out, inputs.echo, 4);
    put(out, inputs.echoHeld, 2);
    put(out, inputs.checkTurn, 4);
    put(out, inputs.checkHash, 8);
    put(out, static_cast<uint8_t>(inputs.advantage), 1);
    for (int i = 0; i < count; ++i) put(out, inputs.inputs[i], 2);
    return out;
}

std::string encodeGoodbye(const Goodbye& goodbye) {
    std::string out = header(Kind::GOODBYE);
    put(out, goodbye.session, 4);
    put(out, static_cast<uint8_t>(goodbye.reason), 1);
    put(out, goodbye.turn, 4);
    return out;
}

bool decodePacket(const uint8_t* data, size_t size, Packet& packet) {
    if (size < kHeaderBytes || size > kMaxPacketBytes) return false;
    if (std::memcmp(data, kMagic, sizeof kMagic) != 0) return false;
    const uint8_t protocol = data[3];
    const uint8_t kind = data[4];
    Reader in(data + kHeaderBytes, size - kHeaderBytes);
    packet.kind = static_cast<Kind>(kind);
    switch (packet.kind) {
    case Kind::HELLO:
    case Kind::WELCOME:
        packet.hello.protocol = protocol;
        return size == kHelloBytes && readHello(in, packet.hello);
    default: break;
    }
    // Past the hello, only this protocol's own packets are understood.
    if (protocol != kProtocolVersion) return false;
    switch (packet.kind) {
    case Kind::FULL: return size == kHeaderBytes;
    case Kind::INPUTS: return size >= kInputsFixedBytes && readInputs(in, packet.inputs);
    case Kind::GOODBYE: return size == kGoodbyeBytes && readGoodbye(in, packet.goodbye);
    default: return false;
    }
}

}  // namespace net
