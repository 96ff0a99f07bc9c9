#include "match/Referee.h"

Referee::Referee(World& world) : world_(world) {}

void Referee::afterUpdate() {
    judge();
    world_.playEvents();
}

void Referee::judge() { ::judge(world_.state(), world_.events); }

void Referee::display() {
    world_.moteur.displayWins(wins(1), wins(2), world_.moves.getText(), World::WIN);
}

int Referee::wins(int player) const { return player == 1 ? world_.wins1 : world_.wins2; }

int Referee::shownLife(int life) const { return world_.endless || life > 0 ? life : 0; }

void stepMatch(World& world, const TurnInput& input) {
    stepMatch(world.state(), input, world.rules(), world.events);
}
