#include "app/network/net_turn.h"

#include "app/config/run_seed.h"
#include "app/panel/panel_feed.h"
#include "app/run/run.h"

// The joiner learns the seed from the host; both start recording from the shared start, at
// the match's pace.
void NetTurns::onConnected(Run& run, World& world) {
    Options& options = run.options;
    if (!seedSaid_) announceSeed(options, options.seed);
    local_.start(options, options.seed);
    run.recorder.start(world, options);
    run.pacer = TurnPacer(options.turnRate);
}

bool NetTurns::advance(Run& run, World& world, bool drawn) {
    NetGame& game = *run.net;
    // The session steps the world's state itself (net/ plays turns again in a rollback).
    const float x1 = world.posX1;
    const float x2 = world.posX2;
    const int64_t now = steadyMs();
    if (game.phase() == NetGame::Phase::CONNECTING) {
        // Each game calibrates its camera before it meets the other: the match then starts
        // with both sides read.
        if (panelFeed.cameraCalibrating()) return false;
        if (game.connect(run.options, world, now) == NetGame::Phase::PLAYING)
            onConnected(run, world);
        return false;
    }
    // Our input is taken only when our next turn may be played.
    const bool played = game.ready(run, now);
    if (played) {
        TurnInput input;
        local_.take(world, input);
        game.play(input);
    }
    game.send(played, now);
    if (played) showSteppedTurn(world, x1, x2, drawn);
    return played;
}

bool NetTurns::more(const Run& run) const { return run.net->phase() != NetGame::Phase::ENDED; }

bool openNetPlay(Run& run, World& world) {
    run.net = std::make_unique<NetGame>();
    run.pacer = TurnPacer(kConnectRate);
    return run.net->open(run.options, world, run.options.seed);
}

int endNetPlay(Run& run, World& world, NetTurns& turns, bool tally) {
    NetGame& game = *run.net;
    if (game.phase() != NetGame::Phase::ENDED) game.leave();
    playWithoutWindow(run, world, turns, true);
    run.recorder.finish(game.confirmedState());
    const int code = game.finish(tally ? &run.log : nullptr);
    game.printStats();
    return code;
}
