#pragma once
// The match: two fighters on one axis driven by the players' hand signs, their moves,
// lives, the clash between two ranged attacks, and the drawing of one frame of it.
#include <atomic>
#include <cstdint>

#include "animation/codes.h"
#include "animation/moves.h"
#include "match/Game.h"
#include "render/Moteur3d.h"
#include "render/camera.h"
#include "vision/Picture.h"

// Gap under which a close attack does damage.
const float DistCAC = 2.0f;
// Gap under which a sign starts a close attack rather than a charge.
const float DistCACL = 4.0f;
// Contact distance: fighters that come closer are set this far apart.
const float limiteContactRobots = 1.0f;

class World {
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

    void handleWebcamEvents(int baryX1, int baryY1, int baryX2, int baryY2, int rps1, int rps2);
    // Keyboard route of the 3D window alone: clears the slots, then addKeyboardInput.
    void handleEvents();
    // Asks the main loop to end (Escape, a close request). The request is kept here as well as
    // posted as WM_QUIT: on Windows SDL's event pump takes WM_QUIT off the queue and drops it.
    static void requestQuit();
    // Whether a quit was asked since the last call; clears the request.
    static bool takeQuitRequest();
    // Adds the keys of the 3D window to this turn's input slots (after the webcam's, when
    // there is a camera): sign and stage keys on their key-down, walking keys also while held.
    // Play keys count only when `accept` is set and the start-of-match pause is over; Escape
    // and a close request always end the game, through the main loop's quit message.
    void addKeyboardInput(bool accept);
    // Sets the walking slots of the keys held in `keys`, indexed by SDL key code.
    void addHeldKeys(const unsigned char* keys);
    void update();
    void display();

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
    Game game;
    float posX1 = 0;
    float speedX1 = 0;
    float posX2 = 0;
    float speedX2 = 0;
    float drawnX1 = 0;
    float drawnX2 = 0;
    int frame1 = 0;
    int frame2 = 0;
    int roundScore = 0;
    int frameStep = 0;
    int timer = 0;
    bool webcamOn = false;
    int left1 = 0;
    int right1 = 0;
    int up1 = 0;
    int down1 = 0;
    int sign1 = NO_SIGN;
    int lastSign1 = NO_SIGN;
    int left2 = 0;
    int right2 = 0;
    int up2 = 0;
    int down2 = 0;
    int sign2 = NO_SIGN;
    int lastSign2 = NO_SIGN;
    // Read by the webcam worker thread for the control panel.
    std::atomic<int32_t> life1{0};
    std::atomic<int32_t> life2{0};

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
        std::atomic<int32_t>& opponentLife;
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
    void handleKey(int key, bool play);
    void handlePlayKey(int key);
    static void hurt(std::atomic<int32_t>& life, int damage);
    void drawFighter(int player);
};
