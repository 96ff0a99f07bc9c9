// The scene-free step against the designed World: the same readings played through World's
// own calls (handleWebcamEvents, update, the referee) and through cameraInput and stepMatch on
// a plain state give the same state turn for turn, the towers World shows included.
#include "MatchFixture.h"
#include "match/Referee.h"

namespace {

using StepTest = MatchTest;

// Close exchanges, a walk apart, charges into a clash, then close again until a knock-out:
// every rule, the clash and the referee's ending and rematch.
Reading scripted(int turn) {
    const int middle = vision::kHalfMiddleColumn;
    const int t = turn % 400;
    if (t < 20) return hands(40, 120);
    if (t < 70)
        return hands(middle, middle, t % 10 == 0 ? World::PAPER + (t / 10) % 2 : 0,
                     t % 10 == 5 ? World::SCISSORS - (t / 10) % 2 : 0);
    if (t < 90) return hands(120, 40);
    if (t == 90) return signs(World::PAPER, World::PAPER);
    if (t < 104) return Reading();
    if (t == 104) return signs(World::ROCK, World::NO_SIGN);
    if (t < 260) return signs(World::SCISSORS, World::PAPER);
    return hands(40, 120, t % 7 == 0 ? World::SCISSORS : 0, t % 11 == 0 ? World::PAPER : 0);
}

TEST_F(StepTest, TheSceneFreeStepPlaysTheDesignedCallsTurnForTurn) {
    Referee referee(*w);
    w->timer = 1000;
    MatchState plain = w->state();
    TurnEvents events;
    int knockOuts = 0, clashTurns = 0;
    for (int turn = 0; turn < 6000; ++turn) {
        const Reading r = scripted(turn);
        w->handleWebcamEvents(r.baryX1, vision::kMiddleRow, r.baryX2, vision::kMiddleRow, r.rps1,
                              r.rps2);
        w->update();
        referee.afterUpdate();

        const CameraReadings readings{
            r.baryX1, vision::kMiddleRow, r.baryX2, vision::kMiddleRow, r.rps1, r.rps2};
        const TurnInput record = cameraCounts(plain) ? cameraInput(readings) : TurnInput();
        const TurnInput kept = record;
        stepMatch(plain, record, w->rules(), events);
        ASSERT_EQ(record, kept) << "the step changed its record";
        events.clear();

        ASSERT_EQ(hashState(plain), hashState(w->state())) << "turn " << turn;
        for (int t = animation::kSignTower1; t <= animation::kTowerCount; ++t)
            ASSERT_EQ(plain.towers.getTower(t), w->moves.getTower(t)) << "tower " << t;
        knockOuts += plain.endingTurn == 1;
        clashTurns += plain.game.getGameState() == World::CLASH;
    }
    EXPECT_GT(knockOuts, 2) << "the script must cross knock-outs and rematches";
    EXPECT_GT(clashTurns, 100);
}

}  // namespace
