#pragma once
// Matches with no window, no sound and no camera: the rules and the referee on a world that
// holds only the move library, each turn's record filled by the players' sources, as fast as
// the machine goes. Any source that needs no device can drive it through playMatches.
#include <cstdint>
#include <functional>
#include <memory>

#include "app/turn/match_log.h"
#include "app/config/options.h"
#include "match/World.h"
#include "play/computer_players.h"

// Fills the turn's record from the match as it stands before the turn.
using TurnFiller = std::function<void(const MatchState& state, TurnInput& input)>;

// A match this long without a knock-out means a source that never fights: the run stops
// rather than hang.
constexpr int64_t kMatchTurnLimit = 1000000;

// Reads the move library from the data folder into a world with no window and gives it its
// start values; false, with a message on standard error, when the data is not there.
bool prepareWindowless(World& world);

// Sees the record a turn took and the state it left (a recording).
using TurnWatcher = std::function<void(const TurnInput& input, const MatchState& after)>;

// Plays on `world` until `log` has counted `matches` knock-outs, stopping right after the
// last. False, with a message on standard error, when a match runs past `turnLimit` turns.
bool playMatches(World& world, int matches, const TurnFiller& fill, MatchLog& log,
                 int64_t turnLimit = kMatchTurnLimit, const TurnWatcher& watch = {});

// The command line's computer players on a windowless world, the run's seed chosen, announced
// and given to the rules' generator.
struct ComputerRun {
    std::unique_ptr<World> world;
    std::unique_ptr<play::ComputerPlayers> computer;
    uint64_t seed = 0;
    // Fills each turn's record from the computer players.
    TurnFiller fill;
};
// False, with a message on standard error, when the data is not there.
bool startComputerRun(const Options& options, ComputerRun& run);

// The whole --simulate run: the seed, the match lines and the tally; returns the exit code.
int runSimulation(const Options& options);
