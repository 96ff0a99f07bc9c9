#include "match/World.h"

#include <SDL/SDL.h>

#include <cstdlib>

#include "platform/win32.h"

namespace {

// The dead zone either side of a half picture's middle column.
const long long deadZone = 15;
const double walkSpeed = 0.05;

bool isSign(int code) { return code >= World::ROCK && code <= World::SCISSORS; }

}  // namespace

void World::setInputs() {
    left1 = right1 = up1 = down1 = 0;
    sign1 = NO_SIGN;
    left2 = right2 = up2 = down2 = 0;
    sign2 = NO_SIGN;
}

int World::checkInput(int player) { return (player == 1 ? sign1 : sign2) != NO_SIGN ? 1 : 0; }

float World::setSpeed(float, int forward, int backward) {
    return static_cast<float>(walkSpeed * forward - walkSpeed * backward);
}

// The picture is mirrored for the players: a hand right of the middle column is on the
// player's left. A half with no hand reads as a right request (its centre is 0 or -kHalfWidth).
void World::walkingInput(int baryX, int& left, int& right) {
    long long offset = static_cast<long long>(baryX) - vision::kHalfMiddleColumn;
    if (std::llabs(offset) < deadZone) return;
    if (offset > 0)
        left = 1;
    else
        right = 1;
}

// The hands' heights (baryY1, baryY2) do not steer the fighters.
void World::handleWebcamEvents(int baryX1, int, int baryX2, int, int rps1, int rps2) {
    setInputs();
    if (timer > inputTimer || !webcamOn) return;
    walkingInput(baryX1, left1, right1);
    walkingInput(baryX2, left2, right2);
    sign1 = isSign(rps1) ? rps1 : NO_SIGN;
    sign2 = isSign(rps2) ? rps2 : NO_SIGN;
}

// The keyboard-only route of the design, with the held walking keys of addKeyboardInput.
void World::handleEvents() {
    setInputs();
    addKeyboardInput(true);
}

void World::addKeyboardInput(bool accept) {
    const bool play = accept && timer <= inputTimer;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) requestQuit();
        if (event.type == SDL_KEYDOWN) handleKey(event.key.keysym.sym, play);
    }
    if (play) addHeldKeys(SDL_GetKeyState(nullptr));
}

// A held walking key walks in every turn, as a hand held to one side does; its key-down
// alone also counts, so a tap shorter than a turn still takes one step.
void World::addHeldKeys(const unsigned char* keys) {
    left1 |= keys[SDLK_a];
    right1 |= keys[SDLK_d];
    up1 |= keys[SDLK_w];
    down1 |= keys[SDLK_s];
    left2 |= keys[SDLK_LEFT];
    right2 |= keys[SDLK_RIGHT];
    up2 |= keys[SDLK_UP];
    down2 |= keys[SDLK_DOWN];
}

// Leaving through the main loop's own shut-down, as the control panel does, lets the worker
// finish its pass over the panel before anything is torn down.
namespace {
bool quitAsked = false;  // main thread only
}

void World::requestQuit() {
    quitAsked = true;
    PostQuitMessage(0);
}

bool World::takeQuitRequest() {
    const bool asked = quitAsked;
    quitAsked = false;
    return asked;
}

void World::handleKey(int key, bool play) {
    switch (key) {
    case SDLK_ESCAPE: requestQuit(); return;
    case SDLK_F1: webcamOn = false; return;
    case SDLK_F2: webcamOn = true; return;
    default: break;
    }
    if (play) handlePlayKey(key);
}

void World::handlePlayKey(int key) {
    switch (key) {
    case SDLK_a: left1 = 1; break;
    case SDLK_d: right1 = 1; break;
    case SDLK_w: up1 = 1; break;
    case SDLK_s: down1 = 1; break;
    case SDLK_z: sign1 = ROCK; break;
    case SDLK_x: sign1 = PAPER; break;
    case SDLK_c: sign1 = SCISSORS; break;
    case SDLK_LEFT: left2 = 1; break;
    case SDLK_RIGHT: right2 = 1; break;
    case SDLK_UP: up2 = 1; break;
    case SDLK_DOWN: down2 = 1; break;
    case SDLK_b: sign2 = ROCK; break;
    case SDLK_n: sign2 = PAPER; break;
    case SDLK_m: sign2 = SCISSORS; break;
    case SDLK_f: moves.addStage(animation::kWinTower1, LABEL_HUD); break;
    case SDLK_g: moves.addStage(animation::kWinTower2, LABEL_HUD); break;
    case SDLK_h: moves.addStage(animation::kBannerTower, LABEL_HUD); break;
    default: break;
    }
}
