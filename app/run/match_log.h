#pragma once
// The end of every match, one line each on standard output, and the tally of the run:
// "match K: player 1 wins after T turns" (or player 2, or "draw after T turns"), T counted
// from the match's start to its knock-out.
#include <cstdint>
#include <cstdio>

#include "match/MatchState.h"

class MatchLog {
public:
    // `out`: where the lines go; null keeps the count without a line.
    explicit MatchLog(std::FILE* out = stdout) : out_(out) {}

    // Call after every whole turn, rules and referee. True in the turn of a knock-out.
    bool afterTurn(const MatchState& state);
    // Matches knocked out so far.
    int finished() const { return finished_; }
    int wins(int player) const { return player == 1 ? wins1_ : wins2_; }
    int draws() const { return draws_; }
    // Whether a match is under way (false from a knock-out until the next match starts).
    bool underWay() const { return !ending_; }
    // Turns since the match under way started.
    int64_t turnsOfMatch(const MatchState& state) const { return state.turn - start_; }
    // "player 1 W, player 2 L, draws D".
    void printTally() const;

private:
    void printEnding(const MatchState& state) const;

    std::FILE* out_;
    int64_t start_ = 0;
    bool ending_ = false;
    int finished_ = 0;
    int wins1_ = 0;
    int wins2_ = 0;
    int draws_ = 0;
};
