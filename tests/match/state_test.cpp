// The match state as a value: a copy stepped with the same records reaches the same state as
// the original, over a long run of random play with knock-outs, clashes and rematches in it.
#include <random>
#include <vector>

#include "MatchFixture.h"
#include "match/Referee.h"

namespace {

// Random records that keep a match lively: walking most turns, a sign now and then, the HUD
// keys and the camera switch rarely.
TurnInput randomRecord(std::mt19937& random) {
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> sign(World::ROCK, World::SCISSORS);
    TurnInput in;
    in.left1 = percent(random) < 20;
    in.right1 = percent(random) < 40;
    in.left2 = percent(random) < 40;
    in.right2 = percent(random) < 20;
    in.sign1 = percent(random) < 15 ? sign(random) : World::NO_SIGN;
    in.sign2 = percent(random) < 15 ? sign(random) : World::NO_SIGN;
    if (percent(random) == 0) in.labels = 1 << (percent(random) % 3);
    if (percent(random) == 0) in.cameraSwitch = 1 + percent(random) % 2;
    return in;
}

class StateTest : public MatchTest {
protected:
    std::unique_ptr<World> freshWorld() {
        auto world = std::make_unique<World>();
        world->moves = loadedMoves();
        return world;
    }
};

TEST_F(StateTest, ACopySteppedWithTheSameRecordsReachesTheSameHashes) {
    const int kTurns = 100000, kEvery = 1000;
    std::mt19937 random(20261207);
    std::vector<TurnInput> records;
    for (int t = 0; t < kTurns; ++t) records.push_back(randomRecord(random));

    w->timer = 1000;
    std::vector<MatchState> copies;
    std::vector<uint64_t> hashes;
    int knockOuts = 0, clashes = 0;
    for (int t = 0; t < kTurns; ++t) {
        if (t % kEvery == 0) {
            copies.push_back(w->state());
            hashes.push_back(hashState(w->state()));
        }
        const int ending = w->endingTurn;
        stepMatch(*w, records[t]);
        w->events.clear();
        knockOuts += ending == 0 && w->endingTurn == 1;
        clashes += w->game.getGameState() == World::CLASH;
    }
    copies.push_back(w->state());
    hashes.push_back(hashState(w->state()));
    // The run must have gone through what the state has to carry.
    EXPECT_GT(knockOuts, 10);
    EXPECT_GT(clashes, 0);

    auto copy = freshWorld();
    for (std::size_t c = 0; c + 1 < copies.size(); ++c) {
        copy->restore(copies[c]);
        ASSERT_EQ(hashState(copy->state()), hashes[c]);
        for (int t = 0; t < kEvery; ++t) stepMatch(*copy, records[c * kEvery + t]);
        ASSERT_EQ(hashState(copy->state()), hashes[c + 1]) << "copy of turn " << c * kEvery;
    }
}

TEST_F(StateTest, StepsLeaveTheirEventsToBePlayedOnceAndTheHashSeesEveryField) {
    placeFighters(-0.75f, 0.75f);
    const MatchState before = w->state();
    TurnInput punch;
    punch.sign1 = World::SCISSORS;
    step(w->state(), punch, w->rules(), w->events);
    EXPECT_EQ(w->events.sound1, 1);
    ASSERT_EQ(w->events.burstCount, 1);
    EXPECT_EQ(w->events.bursts[0].count, 40);
    EXPECT_EQ(particleCount(), 0u) << "a step plays nothing";
    w->playEvents();
    EXPECT_EQ(particleCount(), 40u);
    EXPECT_EQ(w->events.burstCount, 0);

    // Back to the saved turn, the same step gives the same state.
    const uint64_t after = hashState(w->state());
    w->restore(before);
    step(w->state(), punch, w->rules(), w->events);
    EXPECT_EQ(hashState(w->state()), after);

    // One field changed anywhere changes the hash.
    const uint64_t base = hashState(before);
    auto differs = [&](auto change) {
        MatchState s = before;
        change(s);
        return hashState(s) != base;
    };
    EXPECT_TRUE(differs([](MatchState& s) { s.posX2 += 1e-6f; }));
    EXPECT_TRUE(differs([](MatchState& s) { s.game.setPmove(2, World::PUNCH); }));
    EXPECT_TRUE(differs([](MatchState& s) { s.towers.addStage(animation::kBannerTower, 7); }));
    EXPECT_TRUE(differs([](MatchState& s) { s.wins2 = 1; }));
    EXPECT_TRUE(differs([](MatchState& s) { s.webcamOn = !s.webcamOn; }));
}

TEST_F(StateTest, TheInputRecordPacksIntoTwoBytesAndBack) {
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i) {
        TurnInput in = randomRecord(random);
        EXPECT_EQ(TurnInput::unpack(in.pack()), in);
    }
    EXPECT_LT(TurnInput::unpack(0xffff).cameraSwitch, 4);
}

}  // namespace
