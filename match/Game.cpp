#include "match/Game.h"

// Phase 1 is normal play; the global world never calls this, so a run starts in phase 0.
void Game::init() {
    gameState = 1;
    pState1 = pState2 = 0;
    pMove1 = pMove2 = animation::kRest;
    cSign1 = lSign1 = cSign2 = lSign2 = vision::kNoSign;
}

int Game::getGameState() const { return gameState; }
void Game::setGameState(int value) { gameState = value; }

int Game::getPstate(int player) const { return pick(player, pState1, pState2); }
void Game::setPstate(int player, int value) { pick(player, pState1, pState2) = value; }

int Game::getPmove(int player) const { return pick(player, pMove1, pMove2); }
void Game::setPmove(int player, int value) { pick(player, pMove1, pMove2) = value; }

int Game::getCsign(int player) const { return pick(player, cSign1, cSign2); }
void Game::setCsign(int player, int value) { pick(player, cSign1, cSign2) = value; }

int Game::getLsign(int player) const { return pick(player, lSign1, lSign2); }
void Game::setLsign(int player, int value) { pick(player, lSign1, lSign2) = value; }
