#include "match/Rules.h"

#include "match/MatchRules.h"

namespace {

using S = MatchState;

// The timer only gates the first turns; holding it here keeps it from ever overflowing.
const int timerFloor = 0;

const float startX1 = -5.0f;
const float startX2 = 5.0f;
const float boundLeft1 = -14.0f;
const float boundRight2 = 15.0f;
// Fighter 1 never closer than the contact distance to fighter 2's bound, so the fighters stay
// in order and apart at the right edge too.
const float boundRight1 = boundRight2 - limiteContactRobots;

const int closeDamagePerMove = 5;
const int releaseDamage = 20;

}  // namespace

// No input counts in the first turns of a match or while one is ending; the camera switch
// always does.
void step(MatchState& state, const TurnInput& input, const RulesData& rules, TurnEvents& events) {
    if (state.timer <= S::inputTimer && state.endingTurn == 0) {
        MatchRules(state, input, rules, events).turn();
        return;
    }
    TurnInput none;
    none.cameraSwitch = input.cameraSwitch;
    MatchRules(state, none, rules, events).turn();
}

void startMatch(MatchState& s) {
    s.posX1 = startX1;
    s.posX2 = startX2;
    s.speedX1 = s.speedX2 = 0.0f;
    s.frame1 = s.frame2 = 0;
    s.lastSign1 = s.lastSign2 = S::NO_SIGN;
    s.roundScore = 0;
    s.life1 = 100;
    s.life2 = 100;
    s.timer = 1000;
    s.frameStep = MatchRules::stepNormal;
    s.webcamOn = true;
}

// The order of the turn is the design's; the view camera, which only follows the fighters, is
// the scene's.
void MatchRules::turn() {
    takeKeys();
    testTime();
    s_.towers.moveTower(1);
    fighterStep(1);
    fighterStep(2);
    if (s_.game.getGameState() == S::CLASH) clashStep();
    updatePositions();
    testLives();
    testTime();
    setLastSign();
    ++s_.turn;
}

void MatchRules::takeKeys() {
    if (in_.labels & TurnInput::LABEL_WINS1)
        s_.towers.addStage(animation::kWinTower1, S::LABEL_HUD);
    if (in_.labels & TurnInput::LABEL_WINS2)
        s_.towers.addStage(animation::kWinTower2, S::LABEL_HUD);
    if (in_.labels & TurnInput::LABEL_BANNER)
        s_.towers.addStage(animation::kBannerTower, S::LABEL_HUD);
    if (in_.cameraSwitch == TurnInput::CAMERA_OFF) s_.webcamOn = false;
    if (in_.cameraSwitch == TurnInput::CAMERA_ON) s_.webcamOn = true;
}

void MatchRules::testTime() {
    if (s_.timer > timerFloor) s_.timer -= 1;
}

MatchRules::Fighter MatchRules::fighter(int player) {
    if (player == 1)
        return Fighter{1,          2,         s_.speedX1, s_.frame1, in_.sign1, s_.lastSign1,
                       in_.right1, in_.left1, s_.frame2,  s_.life2};
    return Fighter{2,          1,         s_.speedX2, s_.frame2, in_.sign2, s_.lastSign2,
                   in_.right2, in_.left2, s_.frame1,  s_.life1};
}

void MatchRules::enter(Fighter& f, int newState, int newMove) {
    s_.game.setPstate(f.player, newState);
    s_.game.setPmove(f.player, newMove);
    f.frame = 0;
}

// Each sub-step sees the state the previous one left, so a fighter can pass through several
// states in one turn (a cancelled charge is in recovery by the end of the turn).
void MatchRules::fighterStep(int player) {
    Fighter f = fighter(player);
    bool wasIdle = state(f) == S::IDLE;
    if (wasIdle)
        stepIdle(f);
    else
        f.speed = 0.0f;
    if (state(f) == S::CLOSE_ATTACK) stepToIdle(f);
    if (state(f) == S::CHARGE) stepCharge(f);
    if (state(f) == S::CANCEL) s_.game.setPstate(f.player, S::RECOVERY);
    if (state(f) == S::RELEASE) stepRelease(f);
    if (state(f) == S::RECOVERY) stepToIdle(f);
}

void MatchRules::stepIdle(Fighter& f) {
    float gap = s_.posX2 - s_.posX1;
    if (gap < DistCACL && checkInput(f.player))
        startCloseAttack(f);
    else if (f.sign == S::PAPER || f.sign == S::SCISSORS)
        enter(f, S::CHARGE, S::COMBO_PREP);
    // Walking is only for idle fighters, but one that starts an attack still takes this
    // turn's step.
    f.speed = setSpeed(f.speed, f.right, f.left);
}

// Only a sign different from the last one punches: holding a sign up does not repeat it.
void MatchRules::startCloseAttack(Fighter& f) {
    s_.game.setPstate(f.player, S::CLOSE_ATTACK);
    f.frame = 0;
    if (f.sign == S::PAPER && f.sign != f.lastSign) {
        s_.game.setPmove(f.player, S::PUNCH);
        ++events_.sound2;
    }
    if (f.sign == S::SCISSORS && f.sign != f.lastSign) {
        s_.game.setPmove(f.player, S::HEAD_PUNCH);
        ++events_.sound1;
    }
    if (s_.posX2 - s_.posX1 < DistCAC && f.sign != S::NO_SIGN) {
        hurt(f.opponentLife, move(f) * closeDamagePerMove);
        setExplosion(move(f), f.opponent);
    }
}

// A close attack and a recovery both play their move out and leave the fighter idle.
void MatchRules::stepToIdle(Fighter& f) {
    if (f.frame > length(f) - 1)
        enter(f, S::IDLE, S::REST);
    else
        f.frame += s_.frameStep;
}

void MatchRules::stepCharge(Fighter& f) {
    if (s_.game.getGameState() == S::CLASH_PENDING) joinClash(f);
    if (f.sign == S::ROCK && f.frame < length(f) - 2)
        enter(f, S::CANCEL, S::COMBO_BACK);
    else if (f.frame < length(f) - 2)
        f.frame += s_.frameStep;
    else
        holdCharge(f);
}

// The opponent has just released into this fighter's charge: both attacks meet and the
// clash runs at a fifth of the normal speed.
void MatchRules::joinClash(Fighter& f) {
    releaseMove(f);
    s_.frameStep = stepClash;
    s_.game.setGameState(S::CLASH);
}

// The released attack follows the last paper or scissors shown: the rock that releases it
// is recorded only at the end of the turn.
void MatchRules::releaseMove(Fighter& f) {
    if (f.lastSign == S::PAPER) enter(f, S::RELEASE, S::BANANA);
    if (f.lastSign == S::SCISSORS) enter(f, S::RELEASE, S::AYUKEN);
}

void MatchRules::holdCharge(Fighter& f) {
    f.frame = length(f) - 1;
    if (f.sign != S::ROCK) return;
    if (s_.game.getPstate(f.opponent) == S::CHARGE && f.opponentFrame > 20 &&
        s_.lastSign1 == s_.lastSign2)
        s_.game.setGameState(S::CLASH_PENDING);
    releaseMove(f);
}

// A ranged attack cannot be dodged; its damage is left to the clash verdicts while one runs.
void MatchRules::stepRelease(Fighter& f) {
    if (f.frame > length(f) - 1) {
        enter(f, S::RECOVERY, S::COMBO_BACK);
        if (s_.game.getGameState() != S::CLASH) hurt(f.opponentLife, releaseDamage);
        return;
    }
    f.frame += s_.frameStep;
    if (f.frame == 70 || f.frame == 75) setExplosion(move(f), f.opponent);
}

// The burst itself is the scene's: the turn only says where, how big and for whom.
void MatchRules::setExplosion(int move, int target) {
    const float x =
        target == 2 ? static_cast<float>(s_.posX2 - 0.2) : static_cast<float>(s_.posX1 + 0.3);
    events_.addBurst(x, move * 20, target);
}

// The look-ahead tests one frame of speed while the move applies frameStep frames, so a
// walking fighter can end one turn a little inside the contact distance.
void MatchRules::updatePositions() {
    if ((s_.posX2 + s_.speedX2) - (s_.posX1 + s_.speedX1) > limiteContactRobots) {
        s_.posX1 += s_.frameStep * s_.speedX1;
        s_.posX2 += s_.frameStep * s_.speedX2;
    } else {
        float middle = (s_.posX1 + s_.posX2) / 2;
        s_.posX1 = middle - limiteContactRobots / 2;
        s_.posX2 = middle + limiteContactRobots / 2;
    }
    if (s_.posX2 > boundRight2) s_.posX2 = boundRight2;
    if (s_.posX1 < boundLeft1) s_.posX1 = boundLeft1;
    if (s_.posX1 > boundRight1) s_.posX1 = boundRight1;
}
