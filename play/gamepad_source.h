#pragma once
// Gamepads as an input source, through SDL 1.2's joystick API: one pad per player, opened at
// the start. The stick (beyond a dead zone) or the cross walks while held; the rock, paper and
// scissors buttons show their sign on the press only, as the sign keys do; one button pauses.
//
// SDL 1.2 neither reports a pad that goes nor forgets its last readings, so once a second the
// pads are counted again by restarting SDL's joystick subsystem: the player whose pad went
// stands still from then on, one line on standard error says so, and the game goes on. Pads
// plugged in after the start are not taken.
//
// The pads' events are taken by an SDL event filter as SDL reads them, whoever pumps the
// events: the keyboard's poll empties the queue, and the restart forgets what a polled state
// held (a stick held through it would read as let go).
#include <SDL/SDL.h>

#include <string>
#include <vector>

#include "match/TurnInput.h"

namespace play {

// The buttons and the walking axis, the same on both pads, by SDL's numbers.
struct PadControls {
    int rock = 0;
    int paper = 1;
    int scissors = 2;
    int pause = 7;
    int walkAxis = 0;
    // Stick positions nearer the middle than this (of 32767) do not walk.
    int deadZone = 8000;
};

class GamepadSource {
public:
    // How often the pads are counted again, in milliseconds.
    static constexpr Uint32 kRecountMs = 1000;

    GamepadSource();
    ~GamepadSource();
    GamepadSource(const GamepadSource&) = delete;
    GamepadSource& operator=(const GamepadSource&) = delete;

    // The pad (SDL's joystick index) of a player: by default the first for player 1 and the
    // second for player 2.
    void setPad(int player, int index);
    void setControls(const PadControls& controls) { controls_ = controls; }
    // Whether a pad drives a player (neither does by default). Settle before open().
    void drive(int player, bool on);
    bool drives(int player) const { return drive_[player == 1 ? 0 : 1]; }

    // Starts SDL's joystick subsystem and opens the pads of the players driven. False, with
    // `error` saying which player's pad is missing, when one is not there. Best called once
    // the fight window is open: opening the window forgets the event filter, which poll()
    // then has to set again at the cost of the events waiting in the queue.
    bool open(std::string& error);
    // Adds the driven players' walking and new signs to `input`; counts the pads again when
    // kRecountMs have passed since the last count.
    void poll(TurnInput& input);
    // Whether a pause button was pressed since the last call; clears the flag.
    bool takePauseButton();
    // Counts the pads again now.
    void recount();

    // Takes one joystick event from SDL (the event filter's work); false for other events.
    bool takeEvent(const SDL_Event& event);

private:
    struct Pad {
        int index = -1;  // SDL's index now; -1 once the pad went
        std::string name;
        SDL_Joystick* joystick = nullptr;
        int axis = 0;
        Uint8 hat = SDL_HAT_CENTERED;
        int sign = 0;  // the last sign pressed since the last poll
    };

    bool openPads(std::string& error);
    void stopJoysticks();
    Pad* padOf(int player);
    Pad* padAt(int index);
    void pressButton(Pad& pad, int button);
    void addPlayer(int player, const Pad& pad, TurnInput& input) const;
    bool reopen(Pad& pad, int& from, const std::vector<std::string>& names);
    void lose(Pad& pad);

    PadControls controls_;
    int padIndex_[2] = {0, 1};
    bool drive_[2] = {false, false};
    std::vector<Pad> pads_;  // the pads opened, in SDL's order
    int padOfPlayer_[2] = {-1, -1};
    bool opened_ = false;
    bool pausePressed_ = false;
    Uint32 lastCount_ = 0;
};

}  // namespace play
