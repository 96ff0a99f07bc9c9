#pragma once
// Everything the rules carry from one turn to the next, as one plain value: copy it to keep a
// turn, assign it back to return there, compare two by their hash. No pointers, references,
// atomics or GL objects; the fighters' drawn places and the particles belong to the scene.
#include <cstdint>

#include "animation/towers.h"
#include "match/Game.h"

struct MatchState {
    Game game;
    float posX1 = 0;
    float speedX1 = 0;
    float posX2 = 0;
    float speedX2 = 0;
    int frame1 = 0;
    int frame2 = 0;
    int roundScore = 0;
    int frameStep = 0;
    int timer = 0;
    bool webcamOn = false;
    int lastSign1 = 0;
    int lastSign2 = 0;
    int32_t life1 = 0;
    int32_t life2 = 0;
    // The HUD towers' stages, which the rules and the referee set.
    animation::Towers towers;

    // The referee's part: whether matches end at all, the turn of the ending (from 1 at the
    // knock-out, 0 while a match is under way), the winner of the match that is ending (1, 2,
    // 0 for a draw) and the matches each player has won since the start of the run.
    bool endless = false;
    int32_t endingTurn = 0;
    int32_t winner = 0;
    int32_t wins1 = 0;
    int32_t wins2 = 0;
    // Turns since the start of the run; the clock of recordings and network play.
    int64_t turn = 0;
    // The rules' own generator, seeded with the run: anything random in the rules draws from
    // here so that a copy of the state draws the same.
    uint64_t random = 0;
};

// A 64-bit hash of the whole state over a fixed field order, floats by their bit patterns:
// the same value for the same state on every platform.
uint64_t hashState(const MatchState& state);
