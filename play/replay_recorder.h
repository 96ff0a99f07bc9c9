#pragma once
// Writes a run to a replay file as it is played: the header and the start's checkpoint when
// it opens, each turn's record before the rules take it, the marks after them. What it holds
// reaches the file at least once a second, so a crash or a killed game keeps every whole turn
// up to then. A write that fails is said once on stderr and ends the recording, never the game.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "match/MatchState.h"
#include "match/TurnInput.h"
#include "play/replay_format.h"

namespace play {

class ReplayRecorder {
public:
    ReplayRecorder() = default;
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // Creates the file, replacing one of that name: false with `error` saying why not. Done
    // before anything else of a run starts, so that a file that cannot be written ends it early.
    bool create(const std::string& path, std::string& error);
    // Writes the header and the checkpoint of `start`, the state before the first turn.
    void begin(const ReplayHeader& header, const MatchState& start);
    bool recording() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }

    // The record the rules are about to take.
    void recordTurn(const TurnInput& input);
    // After the turn's rules and referee: the checkpoint every 60 turns, the end of a match at
    // its knock-out.
    void afterTurn(const MatchState& state);
    // Marks the end of the run with the final state and closes the file.
    void finish(const MatchState& state);

private:
    void write(const std::string& bytes);
    // Hands what is held to the file when a second has passed since the last time, or now.
    void flush(bool now);
    void fail(const char* what);
    // Closes and removes the file of a run that never began.
    void discard();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string held_;
    int64_t turns_ = 0;
    bool begun_ = false;
    std::chrono::steady_clock::time_point lastFlush_;
};

}  // namespace play
