#include "app/windowless/simulate.h"

#include <cstdio>
#include <memory>

#include "app/config/datadir.h"
#include "app/run/run.h"

bool prepareWindowless(World& world) {
    if (!enterDataFolder()) return false;
    if (!world.moves.readMoves()) {
        std::fprintf(stderr, "vorlaxis: the keyframe files of the fighters' moves are missing\n");
        return false;
    }
    world.setStartValues();
    return true;
}

void ComputerRecords::start(const Options& options, uint64_t seed) {
    computer_ = std::make_unique<play::ComputerPlayers>(options.player1, options.player2, seed);
}

bool ComputerRecords::take(World& world, TurnInput& input) {
    computer_->fill(world.state(), input);
    return true;
}

// Until the last match's ending has been shown, as a windowed run with --matches ends, so
// that both record the same turns.
int runSimulation(const Options& options) {
    auto world = std::make_unique<World>();
    if (!prepareWindowless(*world)) return 1;
    Run run(*world, options);
    if (run.options.matches <= 0) run.options.matches = 1;
    run.turnLimit = kMatchTurnLimit;
    ComputerRecords computer;
    run.chooseSeed(*world, computer);
    // Only a --record file: a simulated run keeps no replay of its own.
    if (!run.recorder.create(run.options)) return 1;
    run.recorder.start(*world, run.options);
    SteppedTurns turns(computer);
    playWithoutWindow(run, *world, turns, false);
    run.recorder.finish(world->state());
    if (run.overLimit()) return 1;
    run.log.printTally();
    return 0;
}
