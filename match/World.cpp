#include "match/World.h"

#include <vector>

#include "sound/effects.h"

namespace {

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

World::World() { moves.showTowers(&towers); }

void World::init() {
    moteur.init();
    moves.loadMoves();
    moves.loadTextures();
    setStartValues();
}

void World::setStartValues() {
    posX1 = drawnX1 = startX1;
    posX2 = drawnX2 = startX2;
    speedX1 = speedX2 = 0.0f;
    frame1 = frame2 = 0;
    lastSign1 = lastSign2 = NO_SIGN;
    roundScore = 0;
    life1 = 100;
    life2 = 100;
    timer = 1000;
    frameStep = stepNormal;
    setInputs();
    webcamOn = true;
}

void World::update() {
    camera.updateCamera(posX1, posX2);
    step(*this);
    playEvents();
}

// The order of the turn is the design's; the view camera, which only follows the fighters, is
// left to update.
void World::step(const TurnInput& input) {
    takeInput(input);
    testTime();
    moves.moveTower(1);
    fighterStep(1);
    fighterStep(2);
    if (game.getGameState() == CLASH) clashStep();
    updatePositions();
    testLives();
    testTime();
    setLastSign();
    ++turn;
}

// No input counts in the first turns of a match or while one is ending; the camera switch
// always does.
void World::takeInput(const TurnInput& input) {
    if (&input != static_cast<const TurnInput*>(this)) static_cast<TurnInput&>(*this) = input;
    if (timer > inputTimer || endingTurn != 0) {
        const int32_t keep = cameraSwitch;
        clearInput();
        cameraSwitch = keep;
    }
    if (labels & LABEL_WINS1) moves.addStage(animation::kWinTower1, LABEL_HUD);
    if (labels & LABEL_WINS2) moves.addStage(animation::kWinTower2, LABEL_HUD);
    if (labels & LABEL_BANNER) moves.addStage(animation::kBannerTower, LABEL_HUD);
    if (cameraSwitch == CAMERA_OFF) webcamOn = false;
    if (cameraSwitch == CAMERA_ON) webcamOn = true;
}

void World::playEvents() {
    for (int i = 0; i < events.sound1; ++i) playSound1();
    for (int i = 0; i < events.sound2; ++i) playSound2();
    for (int i = 0; i < events.burstCount; ++i) {
        const TurnEvents::Burst& b = events.bursts[i];
        moves.newBang({b.x, 0.5f, 0.0f, 1.0f, 1.0f, 1.0f}, b.count, b.target);
    }
    if (events.clearParticles) moves.clearParticles();
    events.clear();
}

void World::testTime() {
    if (timer > timerFloor) timer -= 1;
}

// The match is endless: a fighter at or below 0 fights on, lives keep falling and the bar
// stays empty.
void World::testLives() {}

void World::hurt(int32_t& life, int damage) { life -= damage; }

World::Fighter World::fighter(int player) {
    if (player == 1)
        return Fighter{1, 2, speedX1, frame1, sign1, lastSign1, right1, left1, frame2, life2};
    return Fighter{2, 1, speedX2, frame2, sign2, lastSign2, right2, left2, frame1, life1};
}

int World::state(const Fighter& f) const { return game.getPstate(f.player); }
int World::move(const Fighter& f) const { return game.getPmove(f.player); }
int World::length(const Fighter& f) { return moves.getMoveLength(move(f)); }

void World::enter(Fighter& f, int newState, int newMove) {
    game.setPstate(f.player, newState);
    game.setPmove(f.player, newMove);
    f.frame = 0;
}

// Each sub-step sees the state the previous one left, so a fighter can pass through several
// states in one turn (a cancelled charge is in recovery by the end of the turn).
void World::fighterStep(int player) {
    Fighter f = fighter(player);
    bool wasIdle = state(f) == IDLE;
    if (wasIdle)
        stepIdle(f);
    else
        f.speed = 0.0f;
    if (state(f) == CLOSE_ATTACK) stepToIdle(f);
    if (state(f) == CHARGE) stepCharge(f);
    if (state(f) == CANCEL) game.setPstate(f.player, RECOVERY);
    if (state(f) == RELEASE) stepRelease(f);
    if (state(f) == RECOVERY) stepToIdle(f);
}

void World::stepIdle(Fighter& f) {
    float gap = posX2 - posX1;
    if (gap < DistCACL && checkInput(f.player))
        startCloseAttack(f);
    else if (f.sign == PAPER || f.sign == SCISSORS)
        enter(f, CHARGE, COMBO_PREP);
    // Walking is only for idle fighters, but one that starts an attack still takes this
    // turn's step.
    f.speed = setSpeed(f.speed, f.right, f.left);
}

// Only a sign different from the last one punches: holding a sign up does not repeat it.
void World::startCloseAttack(Fighter& f) {
    game.setPstate(f.player, CLOSE_ATTACK);
    f.frame = 0;
    if (f.sign == PAPER && f.sign != f.lastSign) {
        game.setPmove(f.player, PUNCH);
        ++events.sound2;
    }
    if (f.sign == SCISSORS && f.sign != f.lastSign) {
        game.setPmove(f.player, HEAD_PUNCH);
        ++events.sound1;
    }
    if (posX2 - posX1 < DistCAC && f.sign != NO_SIGN) {
        hurt(f.opponentLife, move(f) * closeDamagePerMove);
        setExplosion(move(f), f.opponent);
    }
}

// A close attack and a recovery both play their move out and leave the fighter idle.
void World::stepToIdle(Fighter& f) {
    if (f.frame > length(f) - 1)
        enter(f, IDLE, REST);
    else
        f.frame += frameStep;
}

void World::stepCharge(Fighter& f) {
    if (game.getGameState() == CLASH_PENDING) joinClash(f);
    if (f.sign == ROCK && f.frame < length(f) - 2)
        enter(f, CANCEL, COMBO_BACK);
    else if (f.frame < length(f) - 2)
        f.frame += frameStep;
    else
        holdCharge(f);
}

// The opponent has just released into this fighter's charge: both attacks meet and the
// clash runs at a fifth of the normal speed.
void World::joinClash(Fighter& f) {
    releaseMove(f);
    frameStep = stepClash;
    game.setGameState(CLASH);
}

// The released attack follows the last paper or scissors shown: the rock that releases it
// is recorded only at the end of the turn.
void World::releaseMove(Fighter& f) {
    if (f.lastSign == PAPER) enter(f, RELEASE, BANANA);
    if (f.lastSign == SCISSORS) enter(f, RELEASE, AYUKEN);
}

void World::holdCharge(Fighter& f) {
    f.frame = length(f) - 1;
    if (f.sign != ROCK) return;
    if (game.getPstate(f.opponent) == CHARGE && f.opponentFrame > 20 && lastSign1 == lastSign2)
        game.setGameState(CLASH_PENDING);
    releaseMove(f);
}

// A ranged attack cannot be dodged; its damage is left to the clash verdicts while one runs.
void World::stepRelease(Fighter& f) {
    if (f.frame > length(f) - 1) {
        enter(f, RECOVERY, COMBO_BACK);
        if (game.getGameState() != CLASH) hurt(f.opponentLife, releaseDamage);
        return;
    }
    f.frame += frameStep;
    if (f.frame == 70 || f.frame == 75) setExplosion(move(f), f.opponent);
}

// The burst itself is the scene's: the turn only says where, how big and for whom.
void World::setExplosion(int move, int target) {
    const float x = target == 2 ? static_cast<float>(posX2 - 0.2) : static_cast<float>(posX1 + 0.3);
    events.addBurst(x, move * 20, target);
}

// The look-ahead tests one frame of speed while the move applies frameStep frames, so a
// walking fighter can end one turn a little inside the contact distance.
void World::updatePositions() {
    if ((posX2 + speedX2) - (posX1 + speedX1) > limiteContactRobots) {
        posX1 += frameStep * speedX1;
        posX2 += frameStep * speedX2;
    } else {
        float middle = (posX1 + posX2) / 2;
        posX1 = middle - limiteContactRobots / 2;
        posX2 = middle + limiteContactRobots / 2;
    }
    if (posX2 > boundRight2) posX2 = boundRight2;
    if (posX1 < boundLeft1) posX1 = boundLeft1;
    if (posX1 > boundRight1) posX1 = boundRight1;
}
