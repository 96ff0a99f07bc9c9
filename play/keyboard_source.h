#pragma once
// The keys of the fight window as an input source: each turn it adds the players' keys to
// the turn's record. Sign and HUD keys count on their key-down; walking keys also while held,
// as a hand held to one side keeps walking. Escape and a close request ask the game to end.
#include <SDL/SDL_keysym.h>

#include "match/TurnInput.h"

namespace play {

// Calibrates the camera again in every run: no player's key can be F5.
constexpr int kCalibrateKey = SDLK_F5;

// One player's keys, as SDL key codes.
struct PlayerKeys {
    int left;
    int right;
    int up;
    int down;
    int rock;
    int paper;
    int scissors;
};

class KeyboardSource {
public:
    // Player 1 on A, D, W, S and Z, X, C; player 2 on the arrows and B, N, M.
    static PlayerKeys defaultKeys(int player);

    KeyboardSource();
    void setKeys(int player, const PlayerKeys& keys);
    // Whether the keys drive a player (both do by default): a player played by another
    // source is never moved by the keys.
    void drive(int player, bool on);
    bool drives(int player) const { return player == 1 ? drive1_ : drive2_; }

    // Takes every pending event of the fight window and the held walking keys into `input`,
    // adding to what the other sources put there.
    void poll(TurnInput& input);
    // Whether P was pressed, or the fight window lost the keyboard's focus, since the last
    // call; each clears its own flag. Pausing is the game's, not the match's: not in the record.
    bool takePauseKey();
    // Whether F11 or Alt+Enter asked to switch between the window and the whole screen.
    bool takeFullscreenKey();
    // Whether F5 asked the camera to calibrate again; no setting can take F5.
    bool takeCalibrateKey();
    bool takeFocusLost();
    // Adds the walking slots of the keys held in `keys`, indexed by SDL key code.
    void addHeldKeys(const unsigned char* keys, TurnInput& input) const;

private:
    void handleKey(int key, int modifiers, TurnInput& input);
    void focusChanged(bool gained);
    bool playerKey(int player, int key, TurnInput& input) const;

    PlayerKeys keys1_;
    PlayerKeys keys2_;
    bool drive1_ = true;
    bool drive2_ = true;
    bool pauseKey_ = false;
    bool calibrateKey_ = false;
    bool fullscreenKey_ = false;
    bool focusLost_ = false;
    bool hadFocus_ = false;
};

}  // namespace play
