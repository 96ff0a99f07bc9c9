#include "app/windowless/simulate.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

#include "app/config/datadir.h"
#include "app/replay/replay_record.h"
#include "app/config/run_seed.h"
#include "match/Referee.h"
#include "play/computer_players.h"

bool prepareWindowless(World& world) {
    if (!enterDataFolder()) return false;
    if (!world.moves.readMoves()) {
        std::fprintf(stderr, "vorlaxis: the keyframe files of the fighters' moves are missing\n");
        return false;
    }
    world.setStartValues();
    return true;
}

// Nothing is shown or heard, so the turn's events are dropped as a re-run turn's are.
bool playMatches(World& world, int matches, const TurnFiller& fill, MatchLog& log,
                 int64_t turnLimit, const TurnWatcher& watch) {
    while (log.finished() < matches) {
        TurnInput input;
        fill(world.state(), input);
        stepMatch(world, input);
        world.events.clear();
        if (watch) watch(input, world.state());
        log.afterTurn(world.state());
        if (log.underWay() && log.turnsOfMatch(world.state()) > turnLimit) {
            std::fprintf(stderr, "vorlaxis: match %d has no knock-out after %" PRId64 " turns\n",
                         log.finished() + 1, turnLimit);
            return false;
        }
    }
    return true;
}

bool startComputerRun(const Options& options, ComputerRun& run) {
    run.world = std::make_unique<World>();
    if (!prepareWindowless(*run.world)) return false;
    run.seed = chooseSeed(options);
    announceSeed(options, run.seed);
    run.world->random = run.seed;
    run.computer =
        std::make_unique<play::ComputerPlayers>(options.player1, options.player2, run.seed);
    play::ComputerPlayers* computer = run.computer.get();
    run.fill = [computer](const MatchState& state, TurnInput& input) {
        computer->fill(state, input);
    };
    return true;
}

int runSimulation(const Options& options) {
    ComputerRun run;
    if (!startComputerRun(options, run)) return 1;
    World* world = run.world.get();
    MatchLog log;
    // Only a --record file: a simulated run keeps no replay of its own.
    Options recorded = options;
    recorded.seed = run.seed;
    if (!createRecording(recorded)) return 1;
    startRecording(*world, recorded);
    const TurnWatcher record = [](const TurnInput& input, const MatchState& after) {
        recordInput(input);
        recordAfterTurn(after);
    };
    const bool ended = playMatches(*world, options.matches > 0 ? options.matches : 1, run.fill, log,
                                   kMatchTurnLimit, record);
    finishRecording(world->state());
    if (!ended) return 1;
    log.printTally();
    return 0;
}
