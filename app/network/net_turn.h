#pragma once
// The network session as a mode's driver, with windows or without: finding the other game
// while the scene waits, then the turns at the steady pace, each played with our side from
// the local sources and the other side as predicted, played again by the rollback once the
// other side's input arrives.
#include "app/network/net_game.h"
#include "app/run/turn.h"

class NetTurns : public TurnDriver {
public:
    // `local`: our side's source. `seedSaid`: the host has announced its seed already.
    NetTurns(RecordSource& local, bool seedSaid) : local_(local), seedSaid_(seedSaid) {}
    bool advance(Run& run, World& world, bool drawn) override;
    bool more(const Run& run) const override;

private:
    void onConnected(Run& run, World& world);

    RecordSource& local_;
    bool seedSaid_;
};

// Opens the network side of the run once the world is set up (the host having chosen its
// seed); false after saying why.
bool openNetPlay(Run& run, World& world);
// After the run's loop: tells the other side when the player ended the run, plays the last
// turns our inputs reach until the other side holds them, ends the recording, says how the
// run ended and returns the exit code. `tally`: the closing line of a run with no window.
int endNetPlay(Run& run, World& world, NetTurns& turns, bool tally);
