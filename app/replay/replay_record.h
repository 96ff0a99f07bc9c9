#pragma once
// Recording the run being played: to the --record file, or kept in the player's data folder
// (unless --no-record, or the run watches or checks a replay).
#include "app/config/options.h"
#include "match/World.h"
#include "play/replay_recorder.h"

class RunRecorder {
public:
    // Creates the file the run will be recorded to, before any window opens, and says where a
    // kept replay goes. False only when the --record file cannot be written: a kept replay that
    // cannot be written gives one warning and the game goes on without it.
    bool create(const Options& options);
    // Writes the recording's header and start, once the world is set up for the first turn.
    void start(World& world, const Options& options);
    // Each turn that became final: the record the rules took, then the state they left.
    void record(const TurnInput& input, const MatchState& after);
    // Marks the end of the run; a run that never started leaves no file behind.
    void finish(const MatchState& state);

private:
    play::ReplayRecorder recorder_;
    // Whether the run goes to the kept replays rather than a file the player named.
    bool keeping_ = false;
};
