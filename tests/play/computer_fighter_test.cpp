// The computer fighter over whole matches on a windowless world: the levels against each
// other, against a plain opponent written here, and the same seed giving the same match.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "match/Referee.h"
#include "match/World.h"
#include "play/computer_players.h"
#include "tests/support/data_folder.h"
#include "tests/support/working_folder.h"

namespace {

using play::Level;
using play::PlayerSource;

// Every match must end by a knock-out well within this.
const int64_t kTurnLimit = 20000;

using Filler = std::function<void(const MatchState&, TurnInput&)>;

const Moves& loadedMoves() {
    static Moves* loaded = nullptr;
    if (!loaded) {
        loaded = new Moves;
        const testsupport::WorkingFolder here(testsupport::dataFolder());
        if (!loaded->readMoves()) ADD_FAILURE() << "no keyframes in " << testsupport::dataFolder();
    }
    return *loaded;
}

struct Result {
    int winner = -1;  // 1, 2, 0 for a draw, -1 when no knock-out came in time
    int64_t turns = 0;
};

// One match from its first turn to the knock-out, as --simulate plays it; `watch` sees the
// state after every turn.
Result playMatch(const Filler& fill, const std::function<void(const MatchState&)>& watch = {}) {
    auto world = std::make_unique<World>();
    world->moves = loadedMoves();
    world->setStartValues();
    Result result;
    while (world->endingTurn == 0 && world->turn < kTurnLimit) {
        TurnInput input;
        fill(world->state(), input);
        stepMatch(*world, input);
        world->events.clear();
        if (watch) watch(world->state());
    }
    result.turns = world->turn;
    if (world->endingTurn != 0) result.winner = world->winner;
    return result;
}

PlayerSource computer(Level level) {
    PlayerSource side;
    side.kind = PlayerSource::COMPUTER;
    side.level = level;
    return side;
}

struct Tally {
    int wins = 0;
    int losses = 0;
    int draws = 0;
    int64_t longest = 0;
    int decided() const { return wins + losses; }
};

// `matches` matches of side A against side B with fresh seeds, A on player 1's side in the
// even ones and on player 2's in the odd ones.
Tally tournament(int matches, const std::function<Filler(int player, uint64_t seed)>& sideA,
                 const std::function<Filler(int player, uint64_t seed)>& sideB) {
    Tally tally;
    for (int i = 0; i < matches; ++i) {
        const uint64_t seed = 1000 + static_cast<uint64_t>(i);
        const int playerA = i % 2 == 0 ? 1 : 2;
        Filler a = sideA(playerA, seed);
        Filler b = sideB(3 - playerA, seed);
        const Result r = playMatch([&](const MatchState& s, TurnInput& in) {
            a(s, in);
            b(s, in);
        });
        EXPECT_NE(r.winner, -1) << "no knock-out within " << kTurnLimit << " turns, seed " << seed;
        tally.longest = std::max(tally.longest, r.turns);
        if (r.winner == playerA) ++tally.wins;
        if (r.winner == 3 - playerA) ++tally.losses;
        if (r.winner == 0) ++tally.draws;
    }
    return tally;
}

std::function<Filler(int, uint64_t)> level(Level which) {
    return [which](int player, uint64_t seed) -> Filler {
        auto fighter = std::make_shared<play::ComputerFighter>(player, which, seed);
        return [fighter](const MatchState& s, TurnInput& in) { fighter->fill(s, in); };
    };
}

// A plain opponent: it sees the match 15 turns (250 ms) late, shows a random sign now and
// then and walks in and out at random; it knows nothing of ranges or charges.
class PlainOpponent {
public:
    PlainOpponent(int player, uint64_t seed) : player_(player), random_(seed ^ 0x5eedULL) {}

    void fill(const MatchState& state, TurnInput& input) {
        seen_.push_back(state.posX2 - state.posX1);
        const float gap = seen_.size() > kDelay ? seen_[seen_.size() - 1 - kDelay] : seen_[0];
        if (--planLeft_ <= 0) {
            planLeft_ = 10 + random_.below(30);
            walk_ = gap > 6.0f ? 1 : random_.below(3) - 1;
        }
        input.clearPlayer(player_);
        const bool right = (walk_ > 0) == (player_ == 1);
        (player_ == 1 ? input.left1 : input.left2) = walk_ != 0 && !right;
        (player_ == 1 ? input.right1 : input.right2) = walk_ != 0 && right;
        if (random_.below(12) == 0)
            (player_ == 1 ? input.sign1 : input.sign2) = 1 + random_.below(3);
    }

private:
    static constexpr size_t kDelay = 15;
    int player_;
    play::SeededRandom random_;
    std::vector<float> seen_;
    int planLeft_ = 0;
    int walk_ = 0;
};

Filler plainOpponent(int player, uint64_t seed) {
    auto opponent = std::make_shared<PlainOpponent>(player, seed);
    return [opponent](const MatchState& s, TurnInput& in) { opponent->fill(s, in); };
}

// The table row, for the log of the run.
void report(const char* a, const char* b, const Tally& t) {
    std::printf("%-6s against %-6s: %3d won, %3d lost, %d drawn, longest match %lld turns\n", a, b,
                t.wins, t.losses, t.draws, static_cast<long long>(t.longest));
}

double share(int part, int whole) { return whole > 0 ? static_cast<double>(part) / whole : 0.0; }

}  // namespace

// A small tournament per pairing; scripts/tournament plays the full 200-match tables.
TEST(ComputerFighter, EachLevelBeatsTheOneBelowAndEveryMatchEnds) {
    const Tally hardNormal = tournament(20, level(Level::HARD), level(Level::NORMAL));
    report("hard", "normal", hardNormal);
    EXPECT_GE(share(hardNormal.wins, hardNormal.decided()), 0.7)
        << "hard " << hardNormal.wins << " normal " << hardNormal.losses;
    const Tally normalEasy = tournament(20, level(Level::NORMAL), level(Level::EASY));
    report("normal", "easy", normalEasy);
    EXPECT_GE(share(normalEasy.wins, normalEasy.decided()), 0.7)
        << "normal " << normalEasy.wins << " easy " << normalEasy.losses;
}

TEST(ComputerFighter, EasyLosesToAPlainOpponentAndHardBeatsIt) {
    const Tally easy = tournament(200, plainOpponent, level(Level::EASY));
    report("plain", "easy", easy);
    EXPECT_GE(share(easy.wins, 200), 0.6) << "plain " << easy.wins << " easy " << easy.losses;
    const Tally hard = tournament(200, plainOpponent, level(Level::HARD));
    report("plain", "hard", hard);
    EXPECT_GE(share(hard.losses, 200), 0.6) << "plain " << hard.wins << " hard " << hard.losses;
}

// A match played again from its seed is the same turn for turn; another seed plays another.
// The computer writes its own side's slots and leaves the other side's as it found them.
TEST(ComputerFighter, TheSeedDecidesTheMatchAndEachSideKeepsToItsSlots) {
    auto match = [](uint64_t seed) {
        auto sides = std::make_shared<play::ComputerPlayers>(computer(Level::HARD),
                                                             computer(Level::EASY), seed);
        std::vector<uint64_t> hashes;
        playMatch([sides](const MatchState& s, TurnInput& in) { sides->fill(s, in); },
                  [&hashes](const MatchState& s) { hashes.push_back(hashState(s)); });
        return hashes;
    };
    const std::vector<uint64_t> first = match(7);
    EXPECT_EQ(first, match(7));
    EXPECT_NE(first, match(8));

    World world;
    world.moves = loadedMoves();
    world.setStartValues();
    play::ComputerFighter two(2, Level::HARD, 1);
    TurnInput input;
    input.left1 = input.sign1 = input.up2 = 1;
    two.fill(world.state(), input);
    EXPECT_EQ(input.left1, 1);
    EXPECT_EQ(input.sign1, 1);
    EXPECT_EQ(input.up2, 0);
}

// An opponent with one habit: it charges paper whenever it can, releases now and then, and
// plays paper in every round of a clash. Hard reads it and takes the clashes; easy, which
// mostly guesses, does not.
TEST(ComputerFighter, HardReadsAClashHabitThatEasyMostlyMisses) {
    auto paperHabit = [](const MatchState& s, TurnInput& in) {
        const int state = s.game.getPstate(2);
        if (s.game.getGameState() == World::CLASH)
            in.sign2 = s.frame1 % 40 == 15 ? World::PAPER : World::NO_SIGN;
        else if (state == World::IDLE)
            in.sign2 = World::PAPER;
        else if (state == World::CHARGE && s.frame2 >= 49 && s.turn % 30 == 0)
            in.sign2 = World::ROCK;
    };
    auto clashesWon = [&](Level level) {
        int won = 0, lost = 0;
        for (uint64_t seed = 0; seed < 20; ++seed) {
            play::ComputerFighter fighter(1, level, seed);
            int phase = World::PLAY;
            playMatch(
                [&](const MatchState& s, TurnInput& in) {
                    fighter.fill(s, in);
                    paperHabit(s, in);
                },
                [&](const MatchState& s) {
                    const int now = s.game.getGameState();
                    if (phase == World::CLASH && now != World::CLASH) {
                        won += s.roundScore > 0;
                        lost += s.roundScore < 0;
                    }
                    phase = now;
                });
        }
        return share(won, won + lost);
    };
    const double hard = clashesWon(Level::HARD);
    EXPECT_GE(hard, 0.8);
    EXPECT_LT(clashesWon(Level::EASY), hard - 0.2);
}
