#pragma once
// The match: two fighters on one axis driven by the players' hand signs, their moves,
// lives, the clash between two ranged attacks, and the drawing of one frame of it. The state
// the rules carry from turn to turn is the MatchState part, a plain value; this turn's input
// slots are the TurnInput part; the renderer, the move library, the view camera and the
// fighters' drawn places are the scene's. The rules themselves are the scene-free functions of
// match/Rules.h: World runs them on its own state and slots.
#include <cstdint>

#include "animation/codes.h"
#include "animation/moves.h"
#include "match/Game.h"
#include "match/MatchState.h"
#include "match/Rules.h"
#include "match/TurnEvents.h"
#include "match/TurnInput.h"
#include "render/Moteur3d.h"
#include "render/camera.h"
#include "vision/Picture.h"

class World : public MatchState, public TurnInput {
public:
    // Window, sound, moves and textures, then the start of the match. Missing keyframe files
    // end the program with exit code 1 (the fighters could not be drawn).
    void init();
    // The start values of every member but the renderer, the move library and the match
    // record; the part of init that needs neither a window nor data files.
    void setStartValues();

    World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Fills this turn's input slots from the camera's readings (cleared first): cameraInput,
    // when the match takes the camera's part this turn (cameraCounts).
    void handleWebcamEvents(int baryX1, int baryY1, int baryX2, int baryY2, int rps1, int rps2);
    // Keyboard route of the 3D window alone: clears the slots, then takes the keys. It reads a
    // device, so it is defined with the shell (app/).
    void handleEvents();
    // This turn's input slots, all at once, from a record the input sources put together.
    void takeRecord(const TurnInput& record) { static_cast<TurnInput&>(*this) = record; }
    const TurnInput& record() const { return *this; }
    // One turn as the design plays it: the view camera follows the positions before the step,
    // the rules step the state with this turn's input slots, and the sounds and bursts they
    // set off play at once.
    void update();
    void display();

    // Plays the events of the turns stepped since the last call, once, and clears them. A new
    // match also draws the fighters at their start places again.
    void playEvents();
    MatchState& state() { return *this; }
    const MatchState& state() const { return *this; }
    void restore(const MatchState& saved) { state() = saved; }
    // What the rules read of the move library.
    const RulesData& rules() const { return moves.rulesData(); }

    // The design's steps of update, each on the world's state and input slots.
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
    void drawFighter(int player);
};
