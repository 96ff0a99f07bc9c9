#include "play/computer_players.h"

namespace play {

ComputerPlayers::ComputerPlayers(const PlayerSource& one, const PlayerSource& two,
                                 uint64_t runSeed) {
    const PlayerSource* sides[] = {&one, &two};
    for (int player = 1; player <= 2; ++player) {
        const PlayerSource& side = *sides[player - 1];
        if (side.kind == PlayerSource::COMPUTER)
            fighters_.emplace_back(player, side.level, deriveSeed(runSeed, player));
    }
}

bool ComputerPlayers::plays(int player) const {
    for (const ComputerFighter& fighter : fighters_)
        if (fighter.player() == player) return true;
    return false;
}

void ComputerPlayers::fill(const MatchState& state, TurnInput& input) {
    for (ComputerFighter& fighter : fighters_) fighter.fill(state, input);
}

}  // namespace play
