#include "play/computer_fighter.h"

#include "match/Rules.h"

namespace play {

namespace {

// The charge pose is complete from this frame on: rock shown earlier would cancel it.
const int kChargeReadyFrame = 48;
// The clash rounds are decided when player 1's release reaches these frames.
const int kRoundFrames[] = {50, 90, 130};
const int kRounds = 3;
// A close attack keeps a fighter busy this many turns. A fighter that sees the match sooner
// than that can show rock during the attack, so that its next scissors is a new sign again.
const int kCloseAttackTurns = 15;
// At range: how often a fighter charges rather than walks in, and for how long it walks in.
const int kChargePercent = 40;
const int kShortestWalk = 10;
const int kWalkSpread = 30;

int roundsDecided(int frame1) {
    int decided = 0;
    for (int frame : kRoundFrames) decided += frame1 >= frame ? 1 : 0;
    return decided;
}

bool chargeSign(int sign) { return sign == MatchState::PAPER || sign == MatchState::SCISSORS; }

}  // namespace

Sight Sight::of(const MatchState& s) {
    Sight v{};
    v.pos[0] = s.posX1;
    v.pos[1] = s.posX2;
    v.lastSign[0] = s.lastSign1;
    v.lastSign[1] = s.lastSign2;
    v.frame[0] = s.frame1;
    v.frame[1] = s.frame2;
    for (int i = 0; i < 2; ++i) v.state[i] = s.game.getPstate(i + 1);
    v.phase = s.game.getGameState();
    v.open = s.timer <= MatchState::inputTimer && s.endingTurn == 0;
    return v;
}

ComputerFighter::ComputerFighter(int player, Level level, uint64_t seed)
    : me_(player == 1 ? 0 : 1),
      foe_(player == 1 ? 1 : 0),
      level_(level),
      traits_(traitsOf(level)),
      random_(seed),
      seen_(static_cast<size_t>(traits_.delayTurns) + 1) {}

const Sight& ComputerFighter::view() const {
    const int64_t delay = traits_.delayTurns;
    const int64_t number = turns_ - 1 > delay ? turns_ - 1 - delay : 0;
    return seen_[static_cast<size_t>(number % static_cast<int64_t>(seen_.size()))];
}

void ComputerFighter::fill(const MatchState& state, TurnInput& input) {
    const Sight now = Sight::of(state);
    seen_[static_cast<size_t>(turns_ % static_cast<int64_t>(seen_.size()))] = now;
    ++turns_;
    const Sight& v = view();
    learn(v);
    write(now.open && v.open ? decide(v) : Choice(), input);
}

// The opponent's signs as they come: each new sign outside a clash, and in a clash the sign
// each round was decided on, repeats included.
void ComputerFighter::learn(const Sight& v) {
    const int sign = v.lastSign[foe_];
    if (v.phase == MatchState::CLASH) {
        const int decided = roundsDecided(v.frame[0]);
        if (decided > foeRound_) {
            habits_.record(foeSign_, sign);
            foeSign_ = sign;
            foeRound_ = decided;
        }
        return;
    }
    foeRound_ = 0;
    myRound_ = -1;
    if (sign != MatchState::NO_SIGN && sign != foeSign_) {
        habits_.record(foeSign_, sign);
        foeSign_ = sign;
    }
}

ComputerFighter::Choice ComputerFighter::decide(const Sight& v) {
    if (v.phase == MatchState::CLASH) return clashRound(v);
    if (turns_ < waitUntil_) return Choice();
    switch (v.state[me_]) {
    case MatchState::IDLE: return fightIdle(v);
    case MatchState::CHARGE:
        return v.frame[me_] >= kChargeReadyFrame ? act(MatchState::ROCK) : Choice();
    case MatchState::CLOSE_ATTACK:
        if (traits_.delayTurns < kCloseAttackTurns && v.lastSign[me_] == MatchState::SCISSORS)
            return act(MatchState::ROCK);
        return Choice();
    default: return Choice();
    }
}

// Close enough to hurt: a new sign punches, scissors the harder. Close but out of reach: walk
// in, since a sign there would only punch the air.
ComputerFighter::Choice ComputerFighter::fightIdle(const Sight& v) {
    if (gap(v) < DistCAC)
        return act(v.lastSign[me_] == MatchState::SCISSORS ? MatchState::PAPER
                                                           : MatchState::SCISSORS);
    if (gap(v) < DistCACL) {
        Choice in;
        in.walk = 1;
        return in;
    }
    return fromRange(v);
}

// A charging opponent is met with a charge of the same kind, for a clash, as often as the
// fighter trusts its reading of the opponent; otherwise it charges now and then and walks in.
ComputerFighter::Choice ComputerFighter::fromRange(const Sight& v) {
    Choice in;
    in.walk = 1;
    if (turns_ < walkUntil_) return in;
    const int foeSign = v.lastSign[foe_];
    if (v.state[foe_] == MatchState::CHARGE && chargeSign(foeSign) &&
        random_.chance(traits_.readPercent))
        return act(foeSign);
    if (random_.chance(kChargePercent))
        return act(random_.chance(50) ? MatchState::PAPER : MatchState::SCISSORS);
    walkUntil_ = turns_ + kShortestWalk + random_.below(kWalkSpread);
    return in;
}

// One sign per round, shown as soon as the previous round is seen decided: the sign that
// beats the opponent's likeliest next one, or a guess.
ComputerFighter::Choice ComputerFighter::clashRound(const Sight& v) {
    const int round = roundsDecided(v.frame[0]);
    if (round >= kRounds || round == myRound_) return Choice();
    myRound_ = round;
    const int expected = random_.chance(traits_.readPercent) ? habits_.guessAfter(foeSign_, random_)
                                                             : 1 + random_.below(3);
    Choice in;
    in.sign = random_.chance(traits_.mistakePercent) ? 1 + random_.below(3)
                                                     : SignHabits::beating(expected);
    return in;
}

// A sign shown: nothing more until its effect is in sight. Now and then the chance is missed
// altogether, or the wrong sign comes out.
ComputerFighter::Choice ComputerFighter::act(int sign) {
    waitUntil_ = turns_ + traits_.delayTurns + 1;
    Choice in;
    if (random_.chance(traits_.mistakePercent)) {
        if (random_.chance(50)) return in;
        sign = 1 + random_.below(3);
    }
    in.sign = sign;
    return in;
}

// Player 1 stands on the left and player 2 on the right: "towards" is right for one and
// left for the other.
void ComputerFighter::write(const Choice& choice, TurnInput& input) const {
    input.clearPlayer(player());
    const bool right = (choice.walk > 0) == (me_ == 0);
    const int walking = choice.walk != 0 ? 1 : 0;
    (me_ == 0 ? input.left1 : input.left2) = right ? 0 : walking;
    (me_ == 0 ? input.right1 : input.right2) = right ? walking : 0;
    (me_ == 0 ? input.sign1 : input.sign2) = choice.sign;
}

}  // namespace play
