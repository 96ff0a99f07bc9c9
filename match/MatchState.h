#pragma once
// Everything the rules carry from one turn to the next, as one plain value: copy it to keep a
// turn, assign it back to return there, compare two by their hash. No pointers, references,
// atomics or GL objects; the fighters' drawn places and the particles belong to the scene.
// The codes the rules name (states, phases, signs, moves, stages) are declared here with it.
#include <cstdint>

#include "animation/towers.h"
#include "animation/codes.h"
#include "match/Game.h"
#include "vision/Picture.h"

struct MatchState {
    // Fighter states (Game::getPstate).
    enum FighterState {
        IDLE = 0,
        CLOSE_ATTACK = 1,
        CHARGE = 2,
        CANCEL = 3,
        RELEASE = 4,
        RECOVERY = 5
    };

    // Match phases (Game::getGameState); 0 and 1 are both normal play.
    enum MatchPhase { PLAY = 0, PLAY_AFTER_CLASH = 1, CLASH_PENDING = 2, CLASH = 3 };

    // Sign codes as the recognition reads them.
    enum Sign : int32_t {
        NO_SIGN = vision::kNoSign,
        ROCK = vision::kRock,
        PAPER = vision::kPaper,
        SCISSORS = vision::kScissors
    };

    // Move numbers of the move library.
    enum MoveNumber : int {
        REST = animation::kRest,
        PUNCH = animation::kPunch,
        HEAD_PUNCH = animation::kHeadPunch,
        COMBO_PREP = animation::kComboPrep,
        BANANA = animation::kBanana,
        AYUKEN = animation::kAyuken,
        COMBO_BACK = animation::kComboBack
    };

    // Texture indices of the tower stages (see signIcon for the signs' own).
    enum StageTexture : int {
        LABEL_HUD = animation::kLifeLabel2,
        CHIFFOU = animation::kChiffou,
        MI = animation::kMi,
        PAF = animation::kPaf,
        CRITICAL = animation::kCritical,
        PRWIN = animation::kPrWin,
        PAWIN = animation::kPaWin,
        WIN = animation::kWin,
        // The end of a match (see the referee).
        KO = animation::kKo,
        DRAW = animation::kDraw
    };

    // The HUD icon of a sign code: the icons lie in sign order in the texture table.
    static constexpr int signIcon(int sign) { return animation::kRockIcon + (sign - ROCK); }

    // Input counts once the timer, 1000 at the start of a match, is at or below this.
    static constexpr int inputTimer = 899;

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
    // The run's seed, kept with the state (and hashed with it) so that a replay and both games
    // of a network match start from the same value; no rule draws from it.
    uint64_t random = 0;
};

// A 64-bit hash of the whole state over a fixed field order, floats by their bit patterns:
// the same value for the same state on every platform.
uint64_t hashState(const MatchState& state);
