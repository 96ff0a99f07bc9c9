#pragma once
// --sync-test: the rollback that network play will do, on one machine and every turn. Each
// turn is stepped as the game steps it, then the state of two turns back is restored and both
// turns are stepped again with the same records; the hashes must agree. Anything the rules
// read or keep outside the match state shows up at once, named with its turn.
#include <cstdint>
#include <functional>

#include "app/run/turn.h"
#include "match/World.h"

struct SyncOutcome {
    int64_t turns = 0;
    // The turn whose re-run differed, or -1 when none did.
    int64_t firstDifference = -1;
};

// One whole turn on the state alone (the rules and the referee); a test's own step can stand
// in for the game's (stepTurn without a window), which an empty one leaves.
using MatchStep = std::function<void(World& world, const TurnInput& input)>;

// Plays `turns` turns of `run` from the world's state, rolling back two turns after each;
// stops at the first difference.
SyncOutcome syncTest(Run& run, World& world, int64_t turns, RecordSource& source,
                     const MatchStep& step = MatchStep());

// The whole --sync-test run of the command line's computer players: prints
// "sync test: T turns, each rolled back 2 turns, no difference" (exit code 0) or
// "out of sync at turn N" (exit code 1).
int runSyncTest(const Options& options);
