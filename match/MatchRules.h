#pragma once
// The rules of one turn over borrowed values: the state they change, the input record they
// read, the move lengths and the events list. step() in match/Rules.h runs a whole turn
// through it; World's designed methods (updatePositions, setLastSign, solveBattle...) each run
// their own part of it on the world's state.
#include "match/Rules.h"

class MatchRules {
public:
    // Frames a move advances per turn, in normal play and during a clash.
    static constexpr int stepNormal = 5;
    static constexpr int stepClash = 1;

    MatchRules(MatchState& state, const TurnInput& input, const RulesData& rules,
               TurnEvents& events)
        : s_(state), in_(input), rules_(rules), events_(events) {}

    // The whole turn on the record as the match takes it: keys, timer, towers, fighters,
    // clash, positions, timer, last signs, and the turn counted.
    void turn();
    // The HUD label keys and the camera switch of the record.
    void takeKeys();

    void updatePositions();
    void testTime();
    // The lives only fall: ending a match at a knock-out is the referee's (match/Judge.h).
    void testLives() {}
    void setLastSign();
    int checkInput(int player) const;
    static float setSpeed(float speed, int forward, int backward);
    void setExplosion(int move, int target);
    static int solveBattle(int signA, int signB);
    void roundWinner();
    void displayHit();
    void displayWinner();
    void clashStep();

private:
    // One fighter's own fields and its opponent's, so both run the same step.
    struct Fighter {
        int player;
        int opponent;
        float& speed;
        int& frame;
        const int& sign;
        int& lastSign;
        const int& right;
        const int& left;
        const int& opponentFrame;
        int32_t& opponentLife;
    };
    Fighter fighter(int player);

    void fighterStep(int player);
    void stepIdle(Fighter& f);
    void startCloseAttack(Fighter& f);
    void stepToIdle(Fighter& f);
    void stepCharge(Fighter& f);
    void joinClash(Fighter& f);
    void releaseMove(Fighter& f);
    void holdCharge(Fighter& f);
    void stepRelease(Fighter& f);

    int state(const Fighter& f) const { return s_.game.getPstate(f.player); }
    int move(const Fighter& f) const { return s_.game.getPmove(f.player); }
    int length(const Fighter& f) const { return rules_.length(move(f)); }
    void enter(Fighter& f, int newState, int newMove);
    static void hurt(int32_t& life, int damage) { life -= damage; }

    MatchState& s_;
    const TurnInput& in_;
    const RulesData& rules_;
    TurnEvents& events_;
};
