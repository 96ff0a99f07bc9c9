#include "app/run/windowed_turn.h"

#include <SDL/SDL.h>

#include "app/network/net_game.h"
#include "app/network/net_hud.h"
#include "app/run/camera_hud.h"
#include "app/panel/panel_feed.h"
#include "app/run/fullscreen.h"
#include "app/run/side_badges.h"
#include "play/quit.h"

namespace {

// P, Space while watching and a pad's pause button pause and resume, and a lost focus pauses;
// a network match cannot pause. F11 and Alt+Enter switch the screen mode in every run.
void takeWindowKeys(Run& run, World& world) {
    const bool pause = run.sources.takePause();
    const bool focusLost = run.sources.takeFocusLost();
    if (!run.net) {
        if (pause) run.setPaused(!run.paused());
        if (focusLost) run.setPaused(true);
    }
    if (run.sources.takeFullscreen()) toggleFullscreen(world);
    if (run.sources.takeCalibrate()) panelFeed.calibrateAgain.store(true);
}

void draw(Run& run, World& world, bool played) {
    if (played) {
        world.display();
        run.referee.display();
    } else {
        drawStillScene(world, run.referee);
        if (run.paused())
            world.moteur.draw(world.moves.getText(), animation::kPause, -0.5f, -0.15f, 1.0f, 0.3f,
                              1.0f);
    }
    drawSideBadges(world, run.options);
    if (run.net) drawNetHud(*run.net, steadyMs());
    drawCameraHud();
}

}  // namespace

// The particles are drawn where they are: the scene stands still.
void drawStillScene(World& world, Referee& referee) {
    const int step = world.frameStep;
    world.frameStep = 0;
    world.display();
    world.frameStep = step;
    referee.display();
}

void playWindowedTurn(Run& run, World& world, TurnDriver& driver) {
    const bool played = !run.paused() && playTurn(run, world, driver, true);
    // The keys are read once a pass: with the record when the players' sources gave it.
    if (!played || run.watch) run.sources.pollWhilePaused();
    takeWindowKeys(run, world);
    draw(run, world, played);
    if (run.net) publishNetwork(*run.net, steadyMs());
    if (!driver.more(run)) play::requestQuit();
    SDL_Delay(1);
    SDL_GL_SwapBuffers();
    SDL_Delay(2);
    run.pacer.wait();
}
