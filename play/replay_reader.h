#pragma once
// Reads a replay file record by record, as it streams in, and checks its structure as it
// goes: every turn word valid, a checkpoint after turn 0 and every 60th turn and nowhere
// else, the marks numbered by the turns before them, nothing after the end of the run. What
// the hashes say about the match is for whoever steps the rules (ReplayFollower).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "match/TurnInput.h"
#include "play/replay_format.h"

namespace play {

struct ReplayItem {
    enum Kind { TURN, CHECKPOINT, MATCH_END, RUN_END, CUT_SHORT, DAMAGED };
    Kind kind = DAMAGED;
    // TURN: the record the rules took.
    TurnInput input;
    // The turns before the mark (for a turn, its own number from 1; for CUT_SHORT, the
    // whole turns the file holds).
    int64_t turn = 0;
    // CHECKPOINT and RUN_END: the state hash after `turn` turns.
    uint64_t hash = 0;
    // MATCH_END: 1, 2, or 0 for a draw.
    int winner = 0;
};

class ReplayReader {
public:
    ReplayReader() = default;
    ~ReplayReader();
    ReplayReader(const ReplayReader&) = delete;
    ReplayReader& operator=(const ReplayReader&) = delete;

    // Opens the file and reads its header: false with problem() saying what is wrong.
    bool open(const std::string& path);
    // The same over bytes in memory.
    bool openBytes(const std::string& bytes);

    const ReplayHeader& header() const { return header_; }
    // What is wrong with the file, in words that follow its name ("is not a replay", "is
    // damaged at byte 301: ..."); empty while nothing is.
    const std::string& problem() const { return problem_; }

    // The next record. Once the run's end, the end of the file or damage is reached, the
    // same item comes back on every call.
    ReplayItem next();

private:
    bool readHeader();
    // Whether `count` bytes past the read position are available, reading more if needed.
    bool have(size_t count);
    uint64_t take(int bytes);
    ReplayItem readTurn(uint16_t word);
    ReplayItem readMark(uint16_t word);
    ReplayItem damaged(const std::string& what);
    ReplayItem finish(ReplayItem item);

    std::FILE* file_ = nullptr;
    std::vector<uint8_t> buffer_;
    size_t at_ = 0;
    // Bytes dropped from the front of the buffer, so that positions are the file's.
    uint64_t dropped_ = 0;
    uint64_t recordStart_ = 0;
    ReplayHeader header_;
    std::string problem_;
    int64_t turns_ = 0;
    bool checkpointDue_ = true;
    bool matchEnded_ = false;
    bool finished_ = false;
    ReplayItem last_;
};

}  // namespace play
