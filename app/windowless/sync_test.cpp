#include "app/windowless/sync_test.h"

#include <cinttypes>
#include <cstdio>

#include "match/Referee.h"

namespace {

constexpr int kRollback = 2;
// The turns a --sync-test run plays: enough for several matches with their endings.
constexpr int64_t kSyncTurns = 10000;

struct Kept {
    MatchState before;
    TurnInput input;
};

}  // namespace

SyncOutcome syncTest(World& world, int64_t turns, const TurnFiller& fill, const MatchStep& step) {
    SyncOutcome outcome;
    Kept kept[kRollback];
    for (int64_t t = 0; t < turns; ++t) {
        Kept& now = kept[t % kRollback];
        now.before = world.state();
        now.input = TurnInput();
        fill(world.state(), now.input);
        step(world, now.input);
        world.events.clear();
        outcome.turns = t + 1;
        if (t + 1 < kRollback) continue;
        const uint64_t played = hashState(world.state());
        // Back to the state before the older kept turn, and both turns again.
        const Kept& older = kept[(t + 1) % kRollback];
        world.restore(older.before);
        step(world, older.input);
        step(world, now.input);
        world.events.clear();
        if (hashState(world.state()) != played) {
            outcome.firstDifference = t;
            return outcome;
        }
    }
    return outcome;
}

int runSyncTest(const Options& options) {
    ComputerRun run;
    if (!startComputerRun(options, run)) return 1;
    const SyncOutcome outcome = syncTest(*run.world, kSyncTurns, run.fill, stepMatch);
    if (outcome.firstDifference >= 0) {
        std::printf("out of sync at turn %" PRId64 "\n", outcome.firstDifference);
        return 1;
    }
    std::printf("sync test: %" PRId64 " turns, each rolled back %d turns, no difference\n",
                outcome.turns, kRollback);
    return 0;
}
