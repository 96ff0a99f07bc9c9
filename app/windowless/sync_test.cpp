#include "app/windowless/sync_test.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

#include "app/run/run.h"
#include "app/windowless/simulate.h"

namespace {

constexpr int kRollback = 2;
// The turns a --sync-test run plays: enough for several matches with their endings.
constexpr int64_t kSyncTurns = 10000;

// Steps each record, then rolls back over the last two turns and steps them again.
class SyncTurns : public TurnDriver {
public:
    SyncTurns(RecordSource& source, int64_t turns, const MatchStep& step)
        : source_(source), turns_(turns), step_(step) {}
    bool advance(Run& run, World& world, bool drawn) override;
    bool more(const Run&) const override {
        return !exhausted_ && outcome_.turns < turns_ && outcome_.firstDifference < 0;
    }
    const SyncOutcome& outcome() const { return outcome_; }

private:
    void step(Run& run, World& world, const TurnInput& input) {
        if (step_)
            step_(world, input);
        else
            stepTurn(run, world, input, false);
    }

    struct Kept {
        MatchState before;
        TurnInput input;
    };

    RecordSource& source_;
    int64_t turns_;
    const MatchStep& step_;
    Kept kept_[kRollback];
    SyncOutcome outcome_;
    bool exhausted_ = false;
};

// Never drawn: the turns played again would set off their sounds twice.
bool SyncTurns::advance(Run& run, World& world, bool) {
    const int64_t t = outcome_.turns;
    Kept& now = kept_[t % kRollback];
    now.before = world.state();
    now.input = TurnInput();
    if (!source_.take(world, now.input)) {
        exhausted_ = true;
        return false;
    }
    step(run, world, now.input);
    outcome_.turns = t + 1;
    if (t + 1 >= kRollback) {
        const uint64_t played = hashState(world.state());
        // Back to the state before the older kept turn, and both turns again.
        const Kept& older = kept_[(t + 1) % kRollback];
        world.restore(older.before);
        step(run, world, older.input);
        step(run, world, now.input);
        if (hashState(world.state()) != played) outcome_.firstDifference = t;
    }
    run.confirm(now.input, world.state());
    return true;
}

}  // namespace

SyncOutcome syncTest(Run& run, World& world, int64_t turns, RecordSource& source,
                     const MatchStep& step) {
    SyncTurns sync(source, turns, step);
    playWithoutWindow(run, world, sync, false);
    return sync.outcome();
}

int runSyncTest(const Options& options) {
    auto world = std::make_unique<World>();
    if (!prepareWindowless(*world)) return 1;
    ComputerRecords computer;
    // No match lines: the one line says how the rollbacks went.
    Run run(*world, options, nullptr);
    run.chooseSeed(*world, computer);
    const SyncOutcome outcome = syncTest(run, *world, kSyncTurns, computer);
    if (outcome.firstDifference >= 0) {
        std::printf("out of sync at turn %" PRId64 "\n", outcome.firstDifference);
        return 1;
    }
    std::printf("sync test: %" PRId64 " turns, each rolled back %d turns, no difference\n",
                outcome.turns, kRollback);
    return 0;
}
