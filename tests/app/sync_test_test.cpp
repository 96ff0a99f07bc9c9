// The sync test rolls every turn back two turns and plays it again: the rules as they are pass
// it over many matches of computer play, and a value kept outside the match state is caught.
#include <gtest/gtest.h>

#include <unistd.h>

#include "app/windowless/sync_test.h"
#include "match/Referee.h"
#include "play/computer_players.h"

namespace {

class SyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(chdir(VORLAXIS_DATA_DIR), 0);
        ASSERT_TRUE(world_.moves.readMoves());
        world_.setStartValues();
    }

    TurnFiller computerPlay() {
        play::PlayerSource hard, easy;
        hard.kind = easy.kind = play::PlayerSource::COMPUTER;
        hard.level = play::Level::HARD;
        easy.level = play::Level::EASY;
        computer_ = std::make_unique<play::ComputerPlayers>(hard, easy, 2026);
        return [this](const MatchState& state, TurnInput& input) { computer_->fill(state, input); };
    }

    World world_;
    std::unique_ptr<play::ComputerPlayers> computer_;
};

TEST_F(SyncTest, TenThousandTurnsOfComputerPlayRollBackWithoutADifference) {
    const SyncOutcome outcome = syncTest(world_, 10000, computerPlay(), stepMatch);
    EXPECT_EQ(outcome.firstDifference, -1);
    EXPECT_EQ(outcome.turns, 10000);
    EXPECT_GT(world_.wins1 + world_.wins2, 3) << "the run must cross knock-outs and rematches";
}

// A step that keeps a count of its own, outside the state, and lets it touch a life: a
// re-run turn counts again, so the rolled-back state differs.
TEST_F(SyncTest, AValueLeftOutOfTheStateIsCaughtAtOnce) {
    int hiddenCount = 0;
    const MatchStep leaky = [&hiddenCount](World& world, const TurnInput& input) {
        stepMatch(world, input);
        if (++hiddenCount % 7 == 0) world.life2 -= 1;
    };
    const SyncOutcome outcome = syncTest(world_, 10000, computerPlay(), leaky);
    ASSERT_GE(outcome.firstDifference, 0);
    EXPECT_LT(outcome.firstDifference, 10);
}

}  // namespace
