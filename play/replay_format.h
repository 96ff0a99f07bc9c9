#pragma once
// The replay file: what a run's matches need to be played again turn for turn, in one byte
// layout for every platform (little-endian, fixed field sizes; docs/replay-format.md). A
// header says how the run was set up; then one record per turn holds the input record the
// rules took, with marks between them: the state hash every 60 turns, the end of each match
// and the end of the run.
#include <cstdint>
#include <string>

#include "animation/rules_data.h"
#include "match/TurnInput.h"

namespace play {

constexpr char kReplayMagic[8] = {'V', 'X', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr uint16_t kReplayFormatVersion = 1;
// A checkpoint follows turn 0 (the start) and every 60th turn.
constexpr int64_t kCheckpointEvery = 60;
// Text fields of the header (version, sources) hold at most this many bytes.
constexpr size_t kReplayTextMax = 64;

// The kinds of record after the header. A turn is one 16-bit word with the top bit clear;
// a mark is a word with the top bit set, its kind in the low byte, then its fields.
enum ReplayMark : uint16_t {
    kMarkCheckpoint = 0x8001,
    kMarkMatchEnd = 0x8002,
    kMarkRunEnd = 0x8003
};
// The bits of a turn word that TurnInput::pack uses; the rest must be clear.
constexpr uint16_t kTurnBits = 0x1fff;
// The bytes of each mark's fields after its word.
constexpr size_t kCheckpointBytes = 16;
constexpr size_t kMatchEndBytes = 9;
constexpr size_t kRunEndBytes = 16;

struct ReplayHeader {
    // The game that recorded it, e.g. "1.0.0".
    std::string gameVersion;
    // What the rules read from the data files (rulesDataFingerprint); another set of data
    // plays another match.
    uint64_t dataFingerprint = 0;
    // The run's seed, and where the rules' own generator stood at the first turn.
    uint64_t seed = 0;
    uint64_t rulesRandom = 0;
    uint16_t turnRate = 60;
    bool endless = false;
    // Who played each side ("camera", "keyboard", "computer:hard", ...): for the viewer only.
    std::string source1;
    std::string source2;

    bool operator==(const ReplayHeader& other) const;
};

// The header's bytes, ending in their checksum. Text fields longer than kReplayTextMax are cut.
std::string encodeHeader(const ReplayHeader& header);

// Reads a header from the first `size` bytes of `data`. Returns the header's length in bytes;
// 0 when it is not a whole valid header, with `problem` saying what is wrong in a few words
// ("is not a replay", "is cut short in its header", ...). `needMore` is set when more bytes
// could still make it whole.
size_t decodeHeader(const uint8_t* data, size_t size, ReplayHeader& header, std::string& problem,
                    bool& needMore);

std::string encodeTurn(const TurnInput& input);
std::string encodeCheckpoint(int64_t turn, uint64_t hash);
std::string encodeMatchEnd(int64_t turn, int winner);
std::string encodeRunEnd(int64_t turn, uint64_t hash);

// Little-endian fields.
void putUnsigned(std::string& out, uint64_t value, int bytes);
uint64_t getUnsigned(const uint8_t* data, int bytes);

// A hash of every figure of the data files that the rules read: the move lengths.
uint64_t rulesDataFingerprint(const animation::RulesData& rules);

}  // namespace play
