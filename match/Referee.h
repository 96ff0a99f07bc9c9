#pragma once
// The referee of the game as it is shown: the scene-free judging of match/Judge.h on the
// world's state, with what it sets off played and the matches won drawn under the life bars.
// What it decides lives in the world's match state, so that it is copied and compared with
// the rest.
#include "match/Judge.h"
#include "match/World.h"

class Referee {
public:
    static constexpr int endingTurns = kEndingTurns;
    static constexpr int verdictTurn = kVerdictTurn;
    static constexpr int bannerRepeat = kBannerRepeat;

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
    World& world_;
};

// One whole turn of a match on the world's state (the rules with this record, then the
// referee), without touching its input slots. Nothing is played: the turn's events stay in
// world.events.
void stepMatch(World& world, const TurnInput& input);
