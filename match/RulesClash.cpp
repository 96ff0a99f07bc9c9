// The clash: a best-of-three rock-paper-scissors exchange counted in on the banner tower.
#include "match/MatchRules.h"

namespace {

using S = MatchState;

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
void MatchRules::clashStep() {
    switch (s_.frame1) {
    case 10:
        s_.towers.addStage(kBannerTower, S::CHIFFOU);
        s_.roundScore = 0;
        return;
    case 30:
    case 70:
    case 110: s_.towers.addStage(kBannerTower, S::MI); return;
    case 50:
    case 90:
        s_.towers.addStage(kBannerTower, S::CHIFFOU);
        roundWinner();
        return;
    case 130:
        roundWinner();
        displayHit();
        return;
    default: break;
    }
    if (s_.frame1 > 147 || s_.frame2 > 147) {
        displayWinner();
        s_.frameStep = stepNormal;
        s_.game.setGameState(S::PLAY_AFTER_CLASH);
    }
}

int MatchRules::solveBattle(int signA, int signB) {
    if (signA == signB) return 0;
    bool aWins = (signA == S::ROCK && signB == S::SCISSORS) ||
                 (signA == S::SCISSORS && signB == S::PAPER) ||
                 (signA == S::PAPER && signB == S::ROCK);
    return aWins ? 1 : 2;
}

// The winner's sign is stacked first on the sign towers, then the loser's.
void MatchRules::roundWinner() {
    int result = solveBattle(s_.lastSign1, s_.lastSign2);
    if (result == 1) {
        s_.towers.addStage(kWinTower1, S::WIN);
        s_.towers.addStage(kSignTower1, S::signIcon(s_.lastSign1));
        s_.towers.addStage(kSignTower2, S::signIcon(s_.lastSign2));
        s_.roundScore += 1;
    } else if (result == 2) {
        s_.towers.addStage(kWinTower2, S::WIN);
        s_.towers.addStage(kSignTower2, S::signIcon(s_.lastSign2));
        s_.towers.addStage(kSignTower1, S::signIcon(s_.lastSign1));
        s_.roundScore -= 1;
    }
}

void MatchRules::displayHit() {
    if (s_.roundScore == sweep) {
        s_.towers.addStage(kBannerTower, S::CRITICAL);
        hurt(s_.life2, sweepDamage);
    } else if (s_.roundScore == -sweep) {
        s_.towers.addStage(kBannerTower, S::CRITICAL);
        hurt(s_.life1, sweepDamage);
    } else {
        s_.towers.addStage(kBannerTower, S::PAF);
    }
}

void MatchRules::displayWinner() {
    if (s_.roundScore > 0) {
        s_.towers.addStage(kBannerTower, S::PAWIN);
        hurt(s_.life2, winnerDamage);
    } else if (s_.roundScore < 0) {
        s_.towers.addStage(kBannerTower, S::PRWIN);
        hurt(s_.life1, winnerDamage);
    }
}

// During a clash the signs only feed the verdicts; outside it each new sign joins its
// player's tower.
void MatchRules::setLastSign() {
    if (s_.game.getGameState() == S::CLASH) {
        if (in_.sign1 != S::NO_SIGN) s_.lastSign1 = in_.sign1;
        if (in_.sign2 != S::NO_SIGN) s_.lastSign2 = in_.sign2;
        return;
    }
    if (in_.sign1 != S::NO_SIGN && in_.sign1 != s_.lastSign1) {
        s_.lastSign1 = in_.sign1;
        s_.towers.addStage(kSignTower1, S::signIcon(in_.sign1));
    }
    if (in_.sign2 != S::NO_SIGN && in_.sign2 != s_.lastSign2) {
        s_.lastSign2 = in_.sign2;
        s_.towers.addStage(kSignTower2, S::signIcon(in_.sign2));
    }
}
