#include "match/World.h"

namespace {

const int sweepDamage = 20;
const int winnerDamage = 20;
const int sweep = 3;

using animation::kBannerTower;
using animation::kSignTower1;
using animation::kSignTower2;
using animation::kWinTower1;
using animation::kWinTower2;

}  // namespace

// The count-in banners lead each round: a round is decided 20 frames after its "mi".
void World::clashStep() {
    switch (frame1) {
    case 10:
        moves.addStage(kBannerTower, CHIFFOU);
        roundScore = 0;
        return;
    case 30:
    case 70:
    case 110: moves.addStage(kBannerTower, MI); return;
    case 50:
    case 90:
        moves.addStage(kBannerTower, CHIFFOU);
        roundWinner();
        return;
    case 130:
        roundWinner();
        displayHit();
        return;
    default: break;
    }
    if (frame1 > 147 || frame2 > 147) {
        displayWinner();
        frameStep = stepNormal;
        game.setGameState(PLAY_AFTER_CLASH);
    }
}

int World::solveBattle(int signA, int signB) {
    if (signA == signB) return 0;
    bool aWins = (signA == ROCK && signB == SCISSORS) || (signA == SCISSORS && signB == PAPER) ||
                 (signA == PAPER && signB == ROCK);
    return aWins ? 1 : 2;
}

// The winner's sign is stacked first on the sign towers, then the loser's.
void World::roundWinner() {
    int result = solveBattle(lastSign1, lastSign2);
    if (result == 1) {
        moves.addStage(kWinTower1, WIN);
        moves.addStage(kSignTower1, signIcon(lastSign1));
        moves.addStage(kSignTower2, signIcon(lastSign2));
        roundScore += 1;
    } else if (result == 2) {
        moves.addStage(kWinTower2, WIN);
        moves.addStage(kSignTower2, signIcon(lastSign2));
        moves.addStage(kSignTower1, signIcon(lastSign1));
        roundScore -= 1;
    }
}

void World::displayHit() {
    if (roundScore == sweep) {
        moves.addStage(kBannerTower, CRITICAL);
        hurt(life2, sweepDamage);
    } else if (roundScore == -sweep) {
        moves.addStage(kBannerTower, CRITICAL);
        hurt(life1, sweepDamage);
    } else {
        moves.addStage(kBannerTower, PAF);
    }
}

void World::displayWinner() {
    if (roundScore > 0) {
        moves.addStage(kBannerTower, PAWIN);
        hurt(life2, winnerDamage);
    } else if (roundScore < 0) {
        moves.addStage(kBannerTower, PRWIN);
        hurt(life1, winnerDamage);
    }
}

// During a clash the signs only feed the verdicts; outside it each new sign joins its
// player's tower.
void World::setLastSign() {
    if (game.getGameState() == CLASH) {
        if (sign1 != NO_SIGN) lastSign1 = sign1;
        if (sign2 != NO_SIGN) lastSign2 = sign2;
        return;
    }
    if (sign1 != NO_SIGN && sign1 != lastSign1) {
        lastSign1 = sign1;
        moves.addStage(kSignTower1, signIcon(sign1));
    }
    if (sign2 != NO_SIGN && sign2 != lastSign2) {
        lastSign2 = sign2;
        moves.addStage(kSignTower2, signIcon(sign2));
    }
}
