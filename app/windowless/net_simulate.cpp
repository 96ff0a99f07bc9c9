#include "app/windowless/net_simulate.h"

#include <memory>

#include "app/config/run_seed.h"
#include "app/network/net_turn.h"
#include "app/run/run.h"
#include "app/windowless/simulate.h"

int runNetSimulation(Options& options) {
    auto world = std::make_unique<World>();
    if (!prepareWindowless(*world)) return 1;
    Run run(*world, options);
    Options& chosen = run.options;
    const bool host = chosen.net == Options::Net::HOST;
    if (host && chosen.matches == 0) chosen.matches = 1;
    if (host) chosen.seed = chooseSeed(chosen);
    if (!run.recorder.create(chosen)) return 1;
    ComputerRecords computer;
    NetTurns turns(computer, false);
    if (!openNetPlay(run, *world)) {
        run.recorder.finish(world->state());
        return 1;
    }
    playWithoutWindow(run, *world, turns, true);
    return endNetPlay(run, *world, turns, true);
}
