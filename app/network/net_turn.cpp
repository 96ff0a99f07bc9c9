#include "app/network/net_turn.h"

#include <SDL/SDL.h>

#include <memory>

#include "app/fullscreen.h"
#include "app/main.h"
#include "app/network/net_hud.h"
#include "app/panel/net_readout.h"
#include "app/turn/pacer.h"
#include "app/replay/replay_record.h"
#include "app/config/run_seed.h"
#include "app/turn/side_badges.h"
#include "play/quit.h"

namespace {

std::unique_ptr<TurnPacer> pacer;

// The joiner learns the seed from the host; both start recording from the shared start.
void onConnected(TurnSources& sources) {
    if (options.net == Options::Net::JOIN) {
        announceSeed(options, options.seed);
        sources.start(options, options.seed);
    }
    startRecording(world, options);
    pacer = std::make_unique<TurnPacer>(options.turnRate);
}

// A network match cannot pause: P and a lost focus do nothing; F11 still toggles full screen.
void takeWindowKeys(TurnSources& sources) {
    sources.keyboard().takePauseKey();
    sources.takePauseButton();
    sources.keyboard().takeFocusLost();
    if (sources.keyboard().takeFullscreenKey()) toggleFullscreen(world);
}

}  // namespace

bool openNetPlay(NetGame& game) {
    netReadout.state.store(NetReadout::CONNECTING, std::memory_order_relaxed);
    pacer = std::make_unique<TurnPacer>(kConnectRate);
    return game.open(options, world, options.seed);
}

void playNetTurn(NetGame& game, TurnSources& sources) {
    const int64_t now = steadyMs();
    bool played = false;
    if (game.phase() == NetGame::Phase::CONNECTING) {
        sources.pollWhilePaused();
        if (game.connect(options, world, now) == NetGame::Phase::PLAYING) onConnected(sources);
    } else if (game.phase() == NetGame::Phase::PLAYING) {
        played = game.turn(
            [&sources]() {
                sources.take(world, WebCam);
                return static_cast<TurnInput>(world);
            },
            now);
        if (!played) sources.pollWhilePaused();
    }
    takeWindowKeys(sources);
    if (played) {
        // The view follows the fighters as World::update does; it is the scene's, not the match's.
        world.camera.updateCamera(world.posX1, world.posX2);
        world.playEvents();
        publishReadout();
        world.display();
        referee.display();
    } else {
        drawStillScene();
    }
    drawSideBadges(world, options);
    drawNetHud(game, now);
    publishNetReadout(game, now);
    if (game.phase() == NetGame::Phase::ENDED) play::requestQuit();
    SDL_Delay(1);
    SDL_GL_SwapBuffers();
    pacer->wait();
}

int endNetPlay(NetGame& game) {
    if (game.phase() != NetGame::Phase::ENDED) game.leave();
    // The last turns our inputs reach, until the other side holds them (a few turns at most).
    const auto noInput = [] { return TurnInput(); };
    while (game.phase() == NetGame::Phase::PLAYING) {
        game.turn(noInput, steadyMs());
        world.events.clear();
        pacer->wait();
    }
    finishRecording(game.confirmedState());
    const int code = game.finish();
    game.printStats();
    return code;
}
