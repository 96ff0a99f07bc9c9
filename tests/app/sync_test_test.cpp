// The sync test rolls every turn back two turns and plays it again: the rules as they are pass
// it over many matches of computer play, and a value kept outside the match state is caught.
#include <gtest/gtest.h>

#include <unistd.h>

#include "app/run/run.h"
#include "app/windowless/simulate.h"
#include "app/windowless/sync_test.h"
#include "match/Referee.h"
#include "sound/Son.h"

namespace {

class SyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(chdir(VORLAXIS_DATA_DIR), 0);
        ASSERT_TRUE(world_.moves.readMoves());
        world_.setStartValues();
    }

    RecordSource& computerPlay() {
        Options options;
        options.player1.kind = options.player2.kind = play::PlayerSource::COMPUTER;
        options.player1.level = play::Level::HARD;
        options.player2.level = play::Level::EASY;
        computer_.start(options, 2026);
        return computer_;
    }

    World world_;
    ::Run run_{world_, Options(), nullptr};
    ComputerRecords computer_;
};

TEST_F(SyncTest, TenThousandTurnsOfComputerPlayRollBackWithoutADifference) {
    const SyncOutcome outcome = syncTest(run_, world_, 10000, computerPlay());
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
    const SyncOutcome outcome = syncTest(run_, world_, 10000, computerPlay(), leaky);
    ASSERT_GE(outcome.firstDifference, 0);
    EXPECT_LT(outcome.firstDifference, 10);
}

// The drawn turn goes through World::update and the referee's own step; over matches with
// their rematches it reaches the states of the windowless step, and its view follows the
// fighters from before each step, once a turn.
TEST_F(SyncTest, ADrawnTurnStepsAsAWindowlessOneAndMovesTheViewOnce) {
    setSoundOff(true);
    World plain;
    plain.moves.readMoves();
    plain.setStartValues();
    ::Run plainRun(plain, Options(), nullptr);
    RecordSource& computer = computerPlay();
    Camera expected;
    for (int t = 0; t < 3000; ++t) {
        TurnInput input;
        computer.take(world_, input);
        expected.updateCamera(world_.posX1, world_.posX2);
        stepTurn(run_, world_, input, true);
        stepTurn(plainRun, plain, input, false);
        ASSERT_EQ(hashState(world_.state()), hashState(plain.state())) << "turn " << t;
        ASSERT_EQ(world_.camera.centre, expected.centre) << "turn " << t;
        ASSERT_EQ(world_.camera.distance, expected.distance) << "turn " << t;
    }
    EXPECT_GT(world_.wins1 + world_.wins2, 0) << "the run must cross a knock-out and a rematch";
}

}  // namespace
