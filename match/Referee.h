#pragma once
// The end of a match and the next one: after each turn of the rules the referee looks at the
// lives; at a knock-out it shows "K.O." and then the winner (or a draw) for a few seconds, in
// which no input counts, then starts a new match. It counts the matches each player has won
// over the whole run. In an endless match it does nothing: lives only fall.
#include <atomic>
#include <cstdint>

#include "match/World.h"

class Referee {
public:
    // The ending lasts about 3 s at 100 turns a second: "K.O." first, then the verdict.
    static constexpr int endingTurns = 300;
    static constexpr int verdictTurn = 150;
    // Tower 5 fades a banner within a few dozen turns: the ending shows its banner again
    // every few turns so that it stays up, pulsing.
    static constexpr int bannerRepeat = 5;

    explicit Referee(World& world);

    void setEndless(bool on) { endless_ = on; }
    bool endless() const { return endless_; }

    // False while a match is ending: the turn then takes no input at all.
    bool inputAllowed() const { return endingTurn_ == 0; }
    // Call once per turn, after World::update.
    void afterUpdate();
    // Draws each player's matches won under the life bars; call right after World::display,
    // while the HUD frame is still set.
    void display();

    // Matches won since the start of the run (player 1 for 1, player 2 for any other value).
    // Read by the control panel's thread.
    int wins(int player) const;
    // The winner of the match that is ending: 1, 2, or 0 for a draw; 0 when none is ending.
    int winner() const { return inputAllowed() ? 0 : winner_; }
    // What the panel shows for a life: never below 0 unless the match is endless.
    int shownLife(int life) const;

private:
    void knockOut();
    void showBanner();
    void rematch();

    World& world_;
    bool endless_ = false;
    // Turns since the knock-out, from 1; 0 while a match is under way.
    int endingTurn_ = 0;
    int winner_ = 0;
    std::atomic<int32_t> wins1_{0};
    std::atomic<int32_t> wins2_{0};
};
