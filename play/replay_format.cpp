#include "play/replay_format.h"

#include <cstring>

#include "animation/moves.h"

namespace play {

namespace {

// Magic, format version and header size: enough to tell what follows.
constexpr size_t kHeaderLead = 12;
// Fingerprint, seed, generator, turn rate, flags, three text lengths and the checksum.
constexpr size_t kHeaderFixed = kHeaderLead + 8 + 8 + 8 + 2 + 2 + 3 + 4;
constexpr size_t kHeaderMax = kHeaderFixed + 3 * kReplayTextMax;
constexpr uint16_t kFlagEndless = 1;
constexpr uint16_t kHighestTurnRate = 1000;

uint32_t checksum(const uint8_t* data, size_t size) {
    uint32_t hash = 0x811c9dc5u;
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 0x01000193u;
    return hash;
}

void putText(std::string& out, const std::string& text) {
    const std::string kept = text.substr(0, kReplayTextMax);
    putUnsigned(out, kept.size(), 1);
    out += kept;
}

// Reads the fields after the lead from a header whose size and checksum are right.
class FieldReader {
public:
    FieldReader(const uint8_t* data, size_t end) : data_(data), end_(end) {}
    bool number(uint64_t& value, int bytes) {
        if (at_ + bytes > end_) return false;
        value = getUnsigned(data_ + at_, bytes);
        at_ += bytes;
        return true;
    }
    bool text(std::string& value) {
        uint64_t length = 0;
        if (!number(length, 1) || length > kReplayTextMax || at_ + length > end_) return false;
        value.assign(reinterpret_cast<const char*>(data_ + at_), length);
        at_ += length;
        return true;
    }
    size_t at() const { return at_; }

private:
    const uint8_t* data_;
    size_t end_;
    size_t at_ = kHeaderLead;
};

bool readFields(const uint8_t* data, size_t end, ReplayHeader& h, std::string& problem) {
    FieldReader in(data, end);
    uint64_t rate = 0, flags = 0;
    const bool whole = in.number(h.dataFingerprint, 8) && in.number(h.seed, 8) &&
                       in.number(h.rulesRandom, 8) && in.number(rate, 2) && in.number(flags, 2) &&
                       in.text(h.gameVersion) && in.text(h.source1) && in.text(h.source2) &&
                       in.at() == end;
    if (!whole) {
        problem = "has a damaged header (its fields do not fill it)";
        return false;
    }
    if (rate > kHighestTurnRate || (flags & ~uint64_t{kFlagEndless}) != 0) {
        problem = "has a damaged header (a turn rate or flag out of range)";
        return false;
    }
    h.turnRate = static_cast<uint16_t>(rate);
    h.endless = (flags & kFlagEndless) != 0;
    return true;
}

bool startsLikeMagic(const uint8_t* data, size_t size) {
    return std::memcmp(data, kReplayMagic, size < 8 ? size : 8) == 0;
}

}  // namespace

bool ReplayHeader::operator==(const ReplayHeader& o) const {
    return gameVersion == o.gameVersion && dataFingerprint == o.dataFingerprint && seed == o.seed &&
           rulesRandom == o.rulesRandom && turnRate == o.turnRate && endless == o.endless &&
           source1 == o.source1 && source2 == o.source2;
}

void putUnsigned(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

uint64_t getUnsigned(const uint8_t* data, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | data[i];
    return value;
}

std::string encodeHeader(const ReplayHeader& h) {
    std::string out(kReplayMagic, sizeof kReplayMagic);
    putUnsigned(out, kReplayFormatVersion, 2);
    std::string fields;
    putUnsigned(fields, h.dataFingerprint, 8);
    putUnsigned(fields, h.seed, 8);
    putUnsigned(fields, h.rulesRandom, 8);
    putUnsigned(fields, h.turnRate, 2);
    putUnsigned(fields, h.endless ? kFlagEndless : 0, 2);
    putText(fields, h.gameVersion);
    putText(fields, h.source1);
    putText(fields, h.source2);
    putUnsigned(out, kHeaderLead + fields.size() + 4, 2);
    out += fields;
    putUnsigned(out, checksum(reinterpret_cast<const uint8_t*>(out.data()), out.size()), 4);
    return out;
}

size_t decodeHeader(const uint8_t* data, size_t size, ReplayHeader& header, std::string& problem,
                    bool& needMore) {
    needMore = false;
    if (size == 0 || !startsLikeMagic(data, size)) {
        problem = size == 0 ? "is empty" : "is not a replay";
        needMore = size == 0;
        return 0;
    }
    if (size < kHeaderLead) {
        problem = "is cut short in its header";
        needMore = true;
        return 0;
    }
    const uint64_t version = getUnsigned(data + 8, 2);
    if (version != kReplayFormatVersion) {
        problem = "has format version " + std::to_string(version) + "; this game reads version " +
                  std::to_string(kReplayFormatVersion);
        return 0;
    }
    const size_t length = getUnsigned(data + 10, 2);
    if (length < kHeaderFixed || length > kHeaderMax) {
        problem = "has a damaged header (size " + std::to_string(length) + ")";
        return 0;
    }
    if (size < length) {
        problem = "is cut short in its header";
        needMore = true;
        return 0;
    }
    if (checksum(data, length - 4) != getUnsigned(data + length - 4, 4)) {
        problem = "has a damaged header (its checksum does not match)";
        return 0;
    }
    if (!readFields(data, length - 4, header, problem)) return 0;
    return length;
}

std::string encodeTurn(const TurnInput& input) {
    std::string out;
    putUnsigned(out, input.pack() & kTurnBits, 2);
    return out;
}

std::string encodeCheckpoint(int64_t turn, uint64_t hash) {
    std::string out;
    putUnsigned(out, kMarkCheckpoint, 2);
    putUnsigned(out, static_cast<uint64_t>(turn), 8);
    putUnsigned(out, hash, 8);
    return out;
}

std::string encodeMatchEnd(int64_t turn, int winner) {
    std::string out;
    putUnsigned(out, kMarkMatchEnd, 2);
    putUnsigned(out, static_cast<uint64_t>(turn), 8);
    putUnsigned(out, static_cast<uint64_t>(winner), 1);
    return out;
}

std::string encodeRunEnd(int64_t turn, uint64_t hash) {
    std::string out;
    putUnsigned(out, kMarkRunEnd, 2);
    putUnsigned(out, static_cast<uint64_t>(turn), 8);
    putUnsigned(out, hash, 8);
    return out;
}

uint64_t rulesDataFingerprint(const animation::RulesData& rules) {
    std::string lengths;
    for (int move = 0; move < animation::kMoveCount; ++move)
        putUnsigned(lengths, static_cast<uint32_t>(rules.length(move)), 4);
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char byte : lengths) hash = (hash ^ byte) * 0x100000001b3ull;
    return hash;
}

}  // namespace play
