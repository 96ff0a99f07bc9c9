#pragma once
// The computer as an input source: each turn it looks at the match as a player would see it,
// late by its level's reaction time, and fills its own player's part of the turn's record
// (walk, sign) and nothing else. It fights as a person would: walks in, punches at close
// range, charges at range and releases with rock, meets a charge of the same kind for a
// clash, and plays each clash round on what it has read of the opponent's habits.
#include <cstdint>
#include <vector>

#include "match/MatchState.h"
#include "match/TurnInput.h"
#include "play/player_source.h"
#include "play/seeded_random.h"
#include "play/sign_habits.h"

namespace play {

// What a player sees of the match in one turn and the fighter plays on: both fighters (place,
// what they are doing, last sign shown), the phase of the match and whether input counts.
// Nothing hidden from the players (the input slots, the generator) is in it.
struct Sight {
    float pos[2];
    int state[2];
    int frame[2];
    int lastSign[2];
    int phase;
    bool open;

    static Sight of(const MatchState& state);
};

class ComputerFighter {
public:
    ComputerFighter(int player, Level level, uint64_t seed);

    int player() const { return me_ + 1; }
    Level level() const { return level_; }

    // Takes the match as it stands before the turn and fills this player's slots of `input`;
    // the other player's slots are left as they are.
    void fill(const MatchState& state, TurnInput& input);

private:
    struct Choice {
        int walk = 0;  // -1 away from the opponent, 0 still, 1 towards
        int sign = 0;
    };

    const Sight& view() const;
    void learn(const Sight& seen);
    Choice decide(const Sight& v);
    Choice fightIdle(const Sight& v);
    Choice fromRange(const Sight& v);
    Choice clashRound(const Sight& v);
    Choice act(int sign);
    void write(const Choice& choice, TurnInput& input) const;
    float gap(const Sight& v) const { return v.pos[1] - v.pos[0]; }

    int me_;
    int foe_;
    Level level_;
    LevelTraits traits_;
    SeededRandom random_;
    SignHabits habits_;
    std::vector<Sight> seen_;  // a ring of the last delayTurns + 1 sights
    int64_t turns_ = 0;        // sights taken
    int64_t waitUntil_ = 0;    // no new sign before the sight of the last one's effect
    int64_t walkUntil_ = 0;    // an approach under way at range
    int foeSign_ = 0;          // the opponent's last sign as recorded in the habits
    int foeRound_ = 0;         // clash rounds of the view already recorded
    int myRound_ = -1;         // the clash round this fighter last chose a sign for
};

}  // namespace play
