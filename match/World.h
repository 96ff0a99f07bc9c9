#pragma once
// The match: two fighters on one axis driven by the players' hand signs, their moves,
// lives, the clash between two ranged attacks, and the drawing of one frame of it. The state
// the rules carry from turn to turn is the MatchState part, a plain value; this turn's input
// slots are the TurnInput part; the renderer, the move library, the view camera and the
// fighters' drawn places are the scene's.
#include <cstdint>

#include "animation/codes.h"
#include "animation/moves.h"
#include "match/Game.h"
#include "match/MatchState.h"
#include "match/TurnEvents.h"
#include "match/TurnInput.h"
#include "render/Moteur3d.h"
#include "render/camera.h"
#include "vision/Picture.h"

// Gap under which a close attack does damage.
const float DistCAC = 2.0f;
// Gap under which a sign starts a close attack rather than a charge.
const float DistCACL = 4.0f;
// Contact distance: fighters that come closer are set this far apart.
const float limiteContactRobots = 1.0f;

class World : public MatchState, public TurnInput {
public:
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
        // The end of a match (see Referee).
        KO = animation::kKo,
        DRAW = animation::kDraw
    };

    // The HUD icon of a sign code: the icons lie in sign order in the texture table.
    static constexpr int signIcon(int sign) { return animation::kRockIcon + (sign - ROCK); }

    // Input counts once the timer, 1000 at the start of a match, is at or below this.
    static constexpr int inputTimer = 899;

    // Window, sound, moves and textures, then the start of the match. Missing keyframe files
    // end the program with exit code 1 (the fighters could not be drawn).
    void init();
    // The start values of every member but the renderer, the move library and the match
    // record; the part of init that needs neither a window nor data files.
    void setStartValues();

    World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Fills this turn's input slots from the camera's readings (cleared first).
    void handleWebcamEvents(int baryX1, int baryY1, int baryX2, int baryY2, int rps1, int rps2);
    // Keyboard route of the 3D window alone: clears the slots, then takes the keys. It reads a
    // device, so it lives with the input sources (play/keyboard_source.cpp).
    void handleEvents();
    // One turn as the design plays it: the view camera follows, the rules step with this
    // turn's input slots, and the sounds and bursts they set off play at once.
    void update();
    void display();

    // One turn of the rules alone, on the state, with `input` as the turn's record: no
    // device, no drawing, nothing played. What the turn sets off is left in `events`.
    void step(const TurnInput& input);
    // Plays the events of the turns stepped since the last call, once, and clears them.
    void playEvents();
    MatchState& state() { return *this; }
    const MatchState& state() const { return *this; }
    void restore(const MatchState& saved) { state() = saved; }

    void updatePositions();
    void testTime();
    void testLives();
    void setLastSign();
    void setInputs();
    int checkInput(int player);
    float setSpeed(float speed, int forward, int backward);
    void setExplosion(int move, int target);
    int solveBattle(int signA, int signB);
    void roundWinner();
    void displayHit();
    void displayWinner();

    Moteur3d moteur;
    Moves moves;
    Camera camera;
    float drawnX1 = 0;
    float drawnX2 = 0;
    // Set off by the turns stepped since playEvents last ran.
    TurnEvents events;

private:
    // Frames a move advances per turn, in normal play and during a clash.
    static constexpr int stepNormal = 5;
    static constexpr int stepClash = 1;

    // One fighter's own fields and its opponent's, so both run the same step.
    struct Fighter {
        int player;
        int opponent;
        float& speed;
        int& frame;
        int& sign;
        int& lastSign;
        int& right;
        int& left;
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
    void holdCharge(Fighter& f);
    void stepRelease(Fighter& f);
    void clashStep();

    int state(const Fighter& f) const;
    int move(const Fighter& f) const;
    int length(const Fighter& f);
    void enter(Fighter& f, int newState, int newMove);
    void releaseMove(Fighter& f);
    void walkingInput(int baryX, int& left, int& right);
    void takeInput(const TurnInput& input);
    static void hurt(int32_t& life, int damage);
    void drawFighter(int player);
};
