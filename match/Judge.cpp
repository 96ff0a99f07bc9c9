#include "match/Judge.h"

namespace {

void showBanner(MatchState& s) {
    if ((s.endingTurn - 1) % kBannerRepeat != 0) return;
    int banner = MatchState::KO;
    if (s.endingTurn > kVerdictTurn)
        banner = s.winner == 1   ? MatchState::PAWIN
                 : s.winner == 2 ? MatchState::PRWIN
                                 : MatchState::DRAW;
    s.towers.addStage(animation::kBannerTower, banner);
}

// The verdict is taken at the knock-out: whatever still lands during the ending (a ranged
// attack already on its way) changes neither the winner nor the count.
void knockOut(MatchState& s) {
    if (s.winner == 1) ++s.wins1;
    if (s.winner == 2) ++s.wins2;
    s.endingTurn = 1;
    showBanner(s);
}

// A new match as the first one started; the matches won carry on, and so do the scene's
// renderer, moves, camera and music.
void rematch(MatchState& s, TurnEvents& events) {
    s.endingTurn = 0;
    startMatch(s);
    s.game = Game();
    s.towers.clear();
    events.clearParticles = true;
}

}  // namespace

void judge(MatchState& s, TurnEvents& events) {
    if (s.endless) return;
    if (s.endingTurn == 0) {
        const bool out1 = s.life1 <= 0;
        const bool out2 = s.life2 <= 0;
        if (!out1 && !out2) return;
        s.winner = out1 && out2 ? 0 : (out1 ? 2 : 1);
        knockOut(s);
        return;
    }
    if (++s.endingTurn > kEndingTurns)
        rematch(s, events);
    else
        showBanner(s);
}

void stepMatch(MatchState& state, const TurnInput& input, const RulesData& rules,
               TurnEvents& events) {
    step(state, input, rules, events);
    judge(state, events);
}
