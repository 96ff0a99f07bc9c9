#include "app/windowless/net_simulate.h"

#include <memory>

#include "app/network/net_game.h"
#include "app/turn/pacer.h"
#include "app/replay/replay_record.h"
#include "app/config/run_seed.h"
#include "app/windowless/simulate.h"
#include "play/computer_players.h"

namespace {

bool connectTo(NetGame& game, Options& options, World& world) {
    TurnPacer pacer(kConnectRate);
    while (game.connect(options, world, steadyMs()) == NetGame::Phase::CONNECTING) pacer.wait();
    return game.phase() == NetGame::Phase::PLAYING;
}

}  // namespace

int runNetSimulation(Options& options) {
    auto world = std::make_unique<World>();
    if (!prepareWindowless(*world)) return 1;
    const bool host = options.net == Options::Net::HOST;
    if (host && options.matches == 0) options.matches = 1;
    const uint64_t seed = host ? chooseSeed(options) : 0;
    if (host) options.seed = seed;
    if (!createRecording(options)) return 1;
    NetGame game(false);
    if (!game.open(options, *world, seed)) {
        finishRecording(world->state());
        return 1;
    }
    if (!connectTo(game, options, *world)) {
        finishRecording(world->state());
        return game.finish();
    }
    announceSeed(options, options.seed);
    startRecording(*world, options);
    play::ComputerPlayers computer(options.player1, options.player2, options.seed);
    const auto takeLocal = [&computer, &world]() {
        TurnInput input;
        computer.fill(world->state(), input);
        return input;
    };
    TurnPacer pacer(options.turnRate);
    while (game.phase() == NetGame::Phase::PLAYING) {
        game.turn(takeLocal, steadyMs());
        world->events.clear();
        pacer.wait();
    }
    finishRecording(game.confirmedState());
    const int code = game.finish();
    game.printStats();
    return code;
}
