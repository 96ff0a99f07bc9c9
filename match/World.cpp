#include "match/World.h"

#include "match/MatchRules.h"
#include "sound/effects.h"

World::World() { moves.showTowers(&towers); }

void World::init() {
    moteur.init();
    moves.loadMoves();
    moves.loadTextures();
    setStartValues();
}

void World::setStartValues() {
    startMatch(state());
    drawnX1 = posX1;
    drawnX2 = posX2;
    setInputs();
}

void World::update() {
    camera.updateCamera(posX1, posX2);
    step(state(), record(), rules(), events);
    playEvents();
}

void World::playEvents() {
    for (int i = 0; i < events.sound1; ++i) playSound1();
    for (int i = 0; i < events.sound2; ++i) playSound2();
    for (int i = 0; i < events.burstCount; ++i) {
        const TurnEvents::Burst& b = events.bursts[i];
        moves.newBang({b.x, 0.5f, 0.0f, 1.0f, 1.0f, 1.0f}, b.count, b.target);
    }
    if (events.clearParticles) {
        moves.clearParticles();
        drawnX1 = posX1;
        drawnX2 = posX2;
    }
    events.clear();
}

// Each designed step runs the rules' own on the world's state and input slots.
namespace {

MatchRules rulesOf(World& world) {
    return MatchRules(world.state(), world.record(), world.rules(), world.events);
}

}  // namespace

void World::updatePositions() { rulesOf(*this).updatePositions(); }
void World::testTime() { rulesOf(*this).testTime(); }
void World::testLives() { rulesOf(*this).testLives(); }
void World::setLastSign() { rulesOf(*this).setLastSign(); }
int World::checkInput(int player) { return rulesOf(*this).checkInput(player); }
float World::setSpeed(float speed, int forward, int backward) {
    return MatchRules::setSpeed(speed, forward, backward);
}
void World::setExplosion(int move, int target) { rulesOf(*this).setExplosion(move, target); }
int World::solveBattle(int signA, int signB) { return MatchRules::solveBattle(signA, signB); }
void World::roundWinner() { rulesOf(*this).roundWinner(); }
void World::displayHit() { rulesOf(*this).displayHit(); }
void World::displayWinner() { rulesOf(*this).displayWinner(); }
