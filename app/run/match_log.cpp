#include "app/run/match_log.h"

#include <cinttypes>

bool MatchLog::afterTurn(const MatchState& state) {
    if (ending_) {
        // The referee starts the next match by clearing the ending; its turns count from here.
        if (state.endingTurn == 0) {
            ending_ = false;
            start_ = state.turn;
        }
        return false;
    }
    if (state.endingTurn == 0) return false;
    ending_ = true;
    ++finished_;
    if (state.winner == 1) ++wins1_;
    if (state.winner == 2) ++wins2_;
    if (state.winner == 0) ++draws_;
    printEnding(state);
    return true;
}

void MatchLog::printEnding(const MatchState& state) const {
    if (!out_) return;
    const int64_t turns = turnsOfMatch(state);
    if (state.winner == 0)
        std::fprintf(out_, "match %d: draw after %" PRId64 " turns\n", finished_, turns);
    else
        std::fprintf(out_, "match %d: player %d wins after %" PRId64 " turns\n", finished_,
                     static_cast<int>(state.winner), turns);
    std::fflush(out_);
}

void MatchLog::printTally() const {
    if (!out_) return;
    std::fprintf(out_, "player 1 %d, player 2 %d, draws %d\n", wins1_, wins2_, draws_);
    std::fflush(out_);
}
