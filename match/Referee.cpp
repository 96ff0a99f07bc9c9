#include "match/Referee.h"

Referee::Referee(World& world) : world_(world) {}

void Referee::afterUpdate() {
    judge();
    world_.playEvents();
}

void Referee::judge() {
    if (world_.endless) return;
    if (world_.endingTurn == 0) {
        const bool out1 = world_.life1 <= 0;
        const bool out2 = world_.life2 <= 0;
        if (!out1 && !out2) return;
        world_.winner = out1 && out2 ? 0 : (out1 ? 2 : 1);
        knockOut();
        return;
    }
    if (++world_.endingTurn > endingTurns)
        rematch();
    else
        showBanner();
}

// The verdict is taken at the knock-out: whatever still lands during the ending (a ranged
// attack already on its way) changes neither the winner nor the count.
void Referee::knockOut() {
    if (world_.winner == 1) ++world_.wins1;
    if (world_.winner == 2) ++world_.wins2;
    world_.endingTurn = 1;
    showBanner();
}

void Referee::showBanner() {
    if ((world_.endingTurn - 1) % bannerRepeat != 0) return;
    int banner = World::KO;
    if (world_.endingTurn > verdictTurn)
        banner = world_.winner == 1   ? World::PAWIN
                 : world_.winner == 2 ? World::PRWIN
                                      : World::DRAW;
    world_.moves.addStage(animation::kBannerTower, banner);
}

// A new match as the first one started; the renderer, the loaded moves, the camera and the
// music carry on, and so do the matches won.
void Referee::rematch() {
    world_.endingTurn = 0;
    world_.setStartValues();
    world_.game = Game();
    world_.moves.clearTowers();
    world_.events.clearParticles = true;
}

void Referee::display() {
    world_.moteur.displayWins(wins(1), wins(2), world_.moves.getText(), World::WIN);
}

int Referee::wins(int player) const { return player == 1 ? world_.wins1 : world_.wins2; }

int Referee::shownLife(int life) const { return world_.endless || life > 0 ? life : 0; }

void stepMatch(World& world, const TurnInput& input) {
    world.step(input);
    Referee(world).judge();
}
