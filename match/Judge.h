#pragma once
// The referee's part of a turn on the state alone: after each turn of the rules it looks at
// the lives; at a knock-out it shows "K.O." and then the winner (or a draw) for a few seconds,
// in which no input counts, then starts a new match. It counts the matches each player has won
// over the whole run. In an endless match it does nothing: lives only fall.
#include "match/Rules.h"

// The ending lasts 5 s at the steady 60 turns a second: "K.O." first, then the verdict.
constexpr int kEndingTurns = 300;
constexpr int kVerdictTurn = 150;
// Tower 5 fades a banner within a few dozen turns: the ending shows its banner again every few
// turns so that it stays up, pulsing.
constexpr int kBannerRepeat = 5;

// The referee's look at the state after a turn of the rules; a new match asks the scene to
// drop its particles (events.clearParticles).
void judge(MatchState& state, TurnEvents& events);

// One whole turn of a match as the game plays it, on the state alone: the rules with this
// record, then the referee. Nothing is played: the turn's events are added to `events`.
void stepMatch(MatchState& state, const TurnInput& input, const RulesData& rules,
               TurnEvents& events);
