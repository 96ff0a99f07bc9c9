#pragma once
// The end of a match and the next one: after each turn of the rules the referee looks at the
// lives; at a knock-out it shows "K.O." and then the winner (or a draw) for a few seconds, in
// which no input counts, then starts a new match. It counts the matches each player has won
// over the whole run. In an endless match it does nothing: lives only fall. What it decides
// lives in the world's match state, so that it is copied and compared with the rest.
#include "match/World.h"

class Referee {
public:
    // The ending lasts 5 s at the steady 60 turns a second: "K.O." first, then the verdict.
    static constexpr int endingTurns = 300;
    static constexpr int verdictTurn = 150;
    // Tower 5 fades a banner within a few dozen turns: the ending shows its banner again
    // every few turns so that it stays up, pulsing.
    static constexpr int bannerRepeat = 5;

    explicit Referee(World& world);

    void setEndless(bool on) { world_.endless = on; }
    bool endless() const { return world_.endless; }

    // False while a match is ending: the turn then takes no input at all.
    bool inputAllowed() const { return world_.endingTurn == 0; }
    // Call once per turn, after World::update; plays what it sets off.
    void afterUpdate();
    // The referee's part of a turn on the state alone: what it sets off is left in the
    // world's events.
    void judge();
    // Draws each player's matches won under the life bars; call right after World::display,
    // while the HUD frame is still set.
    void display();

    // Matches won since the start of the run (player 1 for 1, player 2 for any other value).
    int wins(int player) const;
    // The winner of the match that is ending: 1, 2, or 0 for a draw; 0 when none is ending.
    int winner() const { return inputAllowed() ? 0 : world_.winner; }
    // Turns since the knock-out of the match that is ending, from 1; 0 while one is under way.
    int endingTurn() const { return world_.endingTurn; }
    // What the panel shows for a life: never below 0 unless the match is endless.
    int shownLife(int life) const;

private:
    void knockOut();
    void showBanner();
    void rematch();

    World& world_;
};

// One whole turn of a match as the game plays it, on the state alone: the rules with this
// record, then the referee. Nothing is played: the turn's events stay in world.events.
void stepMatch(World& world, const TurnInput& input);
