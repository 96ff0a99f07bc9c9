#pragma once
// Matches with no window, no sound and no camera: the rules and the referee on a world that
// holds only the move library, each turn's record from the computer players, as fast as the
// machine goes.
#include <cstdint>
#include <memory>

#include "app/config/options.h"
#include "app/run/turn.h"
#include "match/World.h"
#include "play/computer_players.h"

// Reads the move library from the data folder into a world with no window and gives it its
// start values; false, with a message on standard error, when the data is not there.
bool prepareWindowless(World& world);

// The command line's computer players as the source of every side they play.
class ComputerRecords : public RecordSource {
public:
    void start(const Options& options, uint64_t seed) override;
    bool take(World& world, TurnInput& input) override;

private:
    std::unique_ptr<play::ComputerPlayers> computer_;
};

// The whole --simulate run: the seed, the match lines and the tally; returns the exit code.
int runSimulation(const Options& options);
