#pragma once
// The sides the computer plays in one run, each with a seed drawn from the run's seed.
#include <cstdint>
#include <vector>

#include "match/MatchState.h"
#include "match/TurnInput.h"
#include "play/computer_fighter.h"
#include "play/player_source.h"

namespace play {

class ComputerPlayers {
public:
    ComputerPlayers(const PlayerSource& one, const PlayerSource& two, uint64_t runSeed);

    bool any() const { return !fighters_.empty(); }
    bool plays(int player) const;
    // Fills the computer's sides of `input` from the match as it stands before the turn.
    void fill(const MatchState& state, TurnInput& input);

private:
    std::vector<ComputerFighter> fighters_;
};

}  // namespace play
