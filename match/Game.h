#pragma once
// The phase of the match and, per player, the fighter's state and move. Plain data: the
// rules in World decide every value.
#include <cstdint>

#include "animation/codes.h"
#include "vision/Picture.h"

class Game {
public:
    // The one Game lives inside the global world, in zero-filled storage; starting every
    // field at 0 (no sign, the rest move) here gives any other Game (tests, tools) the same
    // start.
    Game() = default;

    void init();

    int getGameState() const;
    void setGameState(int value);

    // In every accessor, 1 selects player 1 and any other value player 2.
    int getPstate(int player) const;
    void setPstate(int player, int value);
    int getPmove(int player) const;
    void setPmove(int player, int value);
    int getCsign(int player) const;
    void setCsign(int player, int value);
    int getLsign(int player) const;
    void setLsign(int player, int value);

private:
    // The player-number rule in one place; T is const for the getters.
    template <class T>
    static T& pick(int player, T& one, T& two) {
        return player == 1 ? one : two;
    }

    int32_t gameState = 0;
    int32_t pState1 = 0;
    int32_t pMove1 = animation::kRest;
    int32_t cSign1 = vision::kNoSign;
    int32_t lSign1 = vision::kNoSign;
    int32_t pState2 = 0;
    int32_t pMove2 = animation::kRest;
    int32_t cSign2 = vision::kNoSign;
    int32_t lSign2 = vision::kNoSign;
};
