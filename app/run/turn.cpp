#include "app/run/turn.h"

#include "app/panel/panel_feed.h"
#include "app/run/run.h"
#include "match/Referee.h"

void stepTurn(Run& run, World& world, const TurnInput& input, bool drawn) {
    if (!drawn) {
        stepMatch(world.state(), input, world.rules(), world.events);
        world.events.clear();
        return;
    }
    world.takeRecord(input);
    world.update();
    run.referee.afterUpdate();
}

void showSteppedTurn(World& world, float x1, float x2, bool drawn) {
    if (!drawn) {
        world.events.clear();
        return;
    }
    // The view is the scene's, not the match's, so a rollback never touches it.
    world.camera.updateCamera(x1, x2);
    world.playEvents();
}

bool SteppedTurns::advance(Run& run, World& world, bool drawn) {
    TurnInput input;
    if (!source_.take(world, input)) {
        exhausted_ = true;
        return false;
    }
    stepTurn(run, world, input, drawn);
    run.confirm(input, world.state());
    return true;
}

bool SteppedTurns::more(const Run& run) const {
    return !exhausted_ && !run.finished() && !run.overLimit();
}

bool playTurn(Run& run, World& world, TurnDriver& driver, bool drawn) {
    if (!driver.advance(run, world, drawn)) return false;
    if (drawn) publishMatch(world.state(), run.referee);
    return true;
}

void playWithoutWindow(Run& run, World& world, TurnDriver& driver, bool paced) {
    while (driver.more(run)) {
        playTurn(run, world, driver, false);
        if (paced) run.pacer.wait();
    }
}
