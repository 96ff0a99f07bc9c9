#include "app/run/turn.h"

#include "app/panel/panel_feed.h"
#include "app/run/run.h"
#include "match/Referee.h"

void stepTurn(World& world, const TurnInput& input) { stepMatch(world, input); }

bool SteppedTurns::advance(Run& run, World& world) {
    TurnInput input;
    if (!source_.take(world, input)) {
        exhausted_ = true;
        return false;
    }
    stepTurn(world, input);
    run.confirm(input, world.state());
    return true;
}

bool SteppedTurns::more(const Run& run) const {
    return !exhausted_ && !run.finished() && !run.overLimit();
}

bool playTurn(Run& run, World& world, TurnDriver& driver, bool drawn) {
    const float x1 = world.posX1;
    const float x2 = world.posX2;
    if (!driver.advance(run, world)) return false;
    // The view follows the fighters, from where they stood before the step; it is the scene's,
    // not the match's, so a rollback never touches it.
    world.camera.updateCamera(x1, x2);
    if (drawn)
        world.playEvents();
    else
        world.events.clear();
    publishMatch(world.state(), run.referee);
    return true;
}

void playWithoutWindow(Run& run, World& world, TurnDriver& driver, bool paced) {
    while (driver.more(run)) {
        playTurn(run, world, driver, false);
        if (paced) run.pacer.wait();
    }
}
