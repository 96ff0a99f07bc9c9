#include "play/keyboard_source.h"

#include <SDL/SDL.h>

#include "match/MatchState.h"
#include "play/quit.h"

namespace play {

namespace {

int& slot(TurnInput& in, int player, int which) {
    int* one[] = {&in.left1, &in.right1, &in.up1, &in.down1, &in.sign1};
    int* two[] = {&in.left2, &in.right2, &in.up2, &in.down2, &in.sign2};
    return *(player == 1 ? one : two)[which];
}

enum Slot { LEFT, RIGHT, UP, DOWN, SIGN };

}  // namespace

PlayerKeys KeyboardSource::defaultKeys(int player) {
    if (player == 1) return {SDLK_a, SDLK_d, SDLK_w, SDLK_s, SDLK_z, SDLK_x, SDLK_c};
    return {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_b, SDLK_n, SDLK_m};
}

KeyboardSource::KeyboardSource() : keys1_(defaultKeys(1)), keys2_(defaultKeys(2)) {}

void KeyboardSource::setKeys(int player, const PlayerKeys& keys) {
    (player == 1 ? keys1_ : keys2_) = keys;
}

void KeyboardSource::drive(int player, bool on) { (player == 1 ? drive1_ : drive2_) = on; }

void KeyboardSource::poll(TurnInput& input) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) requestLeave();
        if (event.type == SDL_KEYDOWN) handleKey(event.key.keysym.sym, event.key.keysym.mod, input);
        if (event.type == SDL_ACTIVEEVENT && (event.active.state & SDL_APPINPUTFOCUS))
            focusChanged(event.active.gain != 0);
    }
    addHeldKeys(SDL_GetKeyState(nullptr), input);
}

// A held walking key walks in every turn; its key-down alone also counts, so a tap shorter
// than a turn still takes one step.
void KeyboardSource::addHeldKeys(const unsigned char* keys, TurnInput& input) const {
    for (int player = 1; player <= 2; ++player) {
        if (!drives(player)) continue;
        const PlayerKeys& k = player == 1 ? keys1_ : keys2_;
        slot(input, player, LEFT) |= keys[k.left];
        slot(input, player, RIGHT) |= keys[k.right];
        slot(input, player, UP) |= keys[k.up];
        slot(input, player, DOWN) |= keys[k.down];
    }
}

// Only a window that had the focus can lose it: SDL also reports a loss when the window
// opens without the focus, or when another program grabs the keyboard for a moment.
void KeyboardSource::focusChanged(bool gained) {
    if (gained)
        hadFocus_ = true;
    else if (hadFocus_)
        focusLost_ = true;
    if (!gained) hadFocus_ = false;
}

bool KeyboardSource::takePauseKey() {
    const bool pressed = pauseKey_;
    pauseKey_ = false;
    return pressed;
}

bool KeyboardSource::takeFullscreenKey() {
    const bool pressed = fullscreenKey_;
    fullscreenKey_ = false;
    return pressed;
}

bool KeyboardSource::takeCalibrateKey() {
    const bool pressed = calibrateKey_;
    calibrateKey_ = false;
    return pressed;
}

bool KeyboardSource::takeFocusLost() {
    const bool lost = focusLost_;
    focusLost_ = false;
    return lost;
}

// A key the players chose for themselves plays, even where the game has a use of its own for
// it (P, F, G, H); Escape always ends the game.
void KeyboardSource::handleKey(int key, int modifiers, TurnInput& input) {
    if (key == SDLK_F11 || (key == SDLK_RETURN && (modifiers & KMOD_ALT))) {
        fullscreenKey_ = true;
        return;
    }
    if (key == kCalibrateKey) {
        calibrateKey_ = true;
        return;
    }
    if (key != SDLK_ESCAPE && (playerKey(1, key, input) | playerKey(2, key, input))) return;
    switch (key) {
    case SDLK_ESCAPE: requestQuit(); return;
    case SDLK_p: pauseKey_ = true; return;
    case SDLK_F1: input.cameraSwitch = TurnInput::CAMERA_OFF; return;
    case SDLK_F2: input.cameraSwitch = TurnInput::CAMERA_ON; return;
    case SDLK_f: input.labels |= TurnInput::LABEL_WINS1; return;
    case SDLK_g: input.labels |= TurnInput::LABEL_WINS2; return;
    case SDLK_h: input.labels |= TurnInput::LABEL_BANNER; return;
    default: break;
    }
}

// Whether `key` is one of the player's keys; it acts only when the keys drive that player.
bool KeyboardSource::playerKey(int player, int key, TurnInput& input) const {
    const PlayerKeys& k = player == 1 ? keys1_ : keys2_;
    const bool drive = drives(player);
    const int set[] = {k.left, k.right, k.up, k.down};
    for (int which = LEFT; which <= DOWN; ++which)
        if (key == set[which]) {
            if (drive) slot(input, player, which) = 1;
            return true;
        }
    const int signKeys[] = {k.rock, k.paper, k.scissors};
    for (int sign = MatchState::ROCK; sign <= MatchState::SCISSORS; ++sign)
        if (key == signKeys[sign - MatchState::ROCK]) {
            if (drive) slot(input, player, SIGN) = sign;
            return true;
        }
    return false;
}

}  // namespace play
