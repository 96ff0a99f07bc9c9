// Match rules driven over whole sequences of turns, the way the main loop drives them.
#include "MatchFixture.h"

namespace {

const int ROCK = World::ROCK;
const int PAPER = World::PAPER;
const int SCISSORS = World::SCISSORS;

}  // namespace

TEST_F(MatchTest, SolveBattleFollowsRockPaperScissorsAndLosesOnNoSign) {
    for (int s = 0; s <= 4; ++s) EXPECT_EQ(w->solveBattle(s, s), 0);
    EXPECT_EQ(w->solveBattle(ROCK, SCISSORS), 1);
    EXPECT_EQ(w->solveBattle(SCISSORS, PAPER), 1);
    EXPECT_EQ(w->solveBattle(PAPER, ROCK), 1);
    EXPECT_EQ(w->solveBattle(SCISSORS, ROCK), 2);
    EXPECT_EQ(w->solveBattle(PAPER, SCISSORS), 2);
    EXPECT_EQ(w->solveBattle(ROCK, PAPER), 2);
    EXPECT_EQ(w->solveBattle(World::NO_SIGN, ROCK), 2);
    EXPECT_EQ(w->solveBattle(ROCK, World::NO_SIGN), 2);
    EXPECT_EQ(w->solveBattle(7, PAPER), 2);
}

TEST_F(MatchTest, CloseExchangeHitsOncePerNewSignAndLastsFifteenTurns) {
    placeFighters(-0.75f, 0.75f);
    w->lastSign1 = PAPER;
    Mix_HaltChannel(-1);

    turn(signs(SCISSORS, World::NO_SIGN));
    EXPECT_EQ(state(1), World::CLOSE_ATTACK);
    EXPECT_EQ(move(1), World::HEAD_PUNCH);
    EXPECT_EQ(w->frame1, 5);
    EXPECT_EQ(life(2), 90);
    EXPECT_EQ(life(1), 100);
    EXPECT_TRUE(playing(sound1));
    EXPECT_FALSE(playing(sound2));
    auto burst = w->moves.moveParticles(0);
    ASSERT_EQ(burst.size(), 40u);
    EXPECT_FLOAT_EQ(burst[0][2], static_cast<float>(0.75f - 0.2));
    EXPECT_FLOAT_EQ(burst[0][8], 0.0f);  // made for fighter 2
    EXPECT_EQ(newestStage(animation::kSignTower1), World::signIcon(SCISSORS));
    EXPECT_EQ(w->lastSign1, SCISSORS);

    // Holding the sign changes nothing; the attack ends 15 turns later.
    for (int t = 2; t <= 15; ++t) {
        turn(signs(SCISSORS, World::NO_SIGN));
        EXPECT_EQ(state(1), World::CLOSE_ATTACK) << "turn " << t;
        EXPECT_EQ(w->frame1, 5 * t);
    }
    turn(signs(SCISSORS, World::NO_SIGN));
    EXPECT_EQ(state(1), World::IDLE);
    EXPECT_EQ(move(1), World::REST);
    EXPECT_EQ(w->frame1, 0);

    // The same sign again: a close attack with the rest move, over in the same turn.
    turn(signs(SCISSORS, World::NO_SIGN));
    EXPECT_EQ(state(1), World::IDLE);
    EXPECT_EQ(life(2), 90);
    EXPECT_EQ(particleCount(), 40u);
    EXPECT_EQ(tower(animation::kSignTower1).size(), 1u);

    // A different sign punches again.
    Mix_HaltChannel(-1);
    turn(signs(PAPER, World::NO_SIGN));
    EXPECT_EQ(move(1), World::PUNCH);
    EXPECT_EQ(life(2), 85);
    EXPECT_EQ(particleCount(), 60u);
    EXPECT_TRUE(playing(sound2));
    EXPECT_FALSE(playing(sound1));
    turns(15);
    EXPECT_EQ(state(1), World::IDLE);

    // Rock at close range never hurts: no move, no particles, but a new icon.
    turn(signs(ROCK, World::NO_SIGN));
    EXPECT_EQ(state(1), World::IDLE);
    EXPECT_EQ(life(2), 85);
    EXPECT_EQ(particleCount(), 60u);
    EXPECT_EQ(newestStage(animation::kSignTower1), World::signIcon(ROCK));
    EXPECT_EQ(state(2), World::IDLE);
    EXPECT_EQ(life(1), 100);
}

TEST_F(MatchTest, CloseAttackBeyondHittingRangeMissesAndFighterTwoHitsBack) {
    placeFighters(-1.5f, 1.5f);  // gap 3: close attack, out of reach
    turn(signs(PAPER, SCISSORS));
    EXPECT_EQ(move(1), World::PUNCH);
    EXPECT_EQ(move(2), World::HEAD_PUNCH);
    EXPECT_EQ(life(1), 100);
    EXPECT_EQ(life(2), 100);
    EXPECT_EQ(particleCount(), 0u);

    turns(15);
    placeFighters(-0.9f, 0.9f);
    turn(signs(World::NO_SIGN, PAPER));
    EXPECT_EQ(move(2), World::PUNCH);
    EXPECT_EQ(life(1), 95);
    auto burst = w->moves.moveParticles(0);
    ASSERT_EQ(burst.size(), 20u);
    EXPECT_FLOAT_EQ(burst[0][2], static_cast<float>(-0.9f + 0.3));
    EXPECT_FLOAT_EQ(burst[0][8], 1.0f);
}

TEST_F(MatchTest, InputWaitsFiftyOneTurnsThenWalksOutsideTheDeadZone) {
    w->setStartValues();
    turns(51, hands(40, 120));
    EXPECT_EQ(w->posX1, -5.0f);
    EXPECT_EQ(w->posX2, 5.0f);
    turn(hands(40, 120));  // player 1 right, player 2 left
    EXPECT_NEAR(w->posX1, -4.75f, 1e-5);
    EXPECT_NEAR(w->posX2, 4.75f, 1e-5);

    // 14 columns either side of the middle is still standing.
    for (int x : {66, 80, 94}) {
        turns(3, hands(x, x));
        EXPECT_NEAR(w->posX1, -4.75f, 1e-5) << "column " << x;
        EXPECT_NEAR(w->posX2, 4.75f, 1e-5) << "column " << x;
        EXPECT_EQ(w->speedX1, 0.0f);
    }
    turns(2, hands(95, 65));  // the mirrored picture: right of the middle walks left
    EXPECT_NEAR(w->posX1, -5.25f, 1e-5);
    EXPECT_NEAR(w->posX2, 5.25f, 1e-5);

    // No hand: player 1's centre reads -160, player 2's 0; both count as right requests.
    turns(4, hands(-160, 0));
    EXPECT_NEAR(w->posX1, -4.25f, 1e-5);
    EXPECT_NEAR(w->posX2, 6.25f, 1e-5);

    w->webcamOn = false;
    turns(3, hands(-160, 0, PAPER, PAPER));
    EXPECT_NEAR(w->posX1, -4.25f, 1e-5);
    EXPECT_EQ(state(1), World::IDLE);
    EXPECT_EQ(w->sign1, World::NO_SIGN);
}

TEST_F(MatchTest, TimerStopsAtItsFloorAndInputGoesOn) {
    w->timer = 3;
    turns(10);
    EXPECT_EQ(w->timer, 0);
    turn(hands(40, 80));
    EXPECT_EQ(w->timer, 0);
    EXPECT_NEAR(w->posX1, -4.75f, 1e-5);
}

TEST_F(MatchTest, OnlyAnIdleFighterWalksAndStartingAnAttackTakesThatStep) {
    turn(hands(40, 80, PAPER, World::NO_SIGN));  // charge while asking to walk right
    EXPECT_EQ(state(1), World::CHARGE);
    EXPECT_NEAR(w->posX1, -4.75f, 1e-5);
    turns(3, hands(40, 80));
    EXPECT_EQ(w->speedX1, 0.0f);
    EXPECT_NEAR(w->posX1, -4.75f, 1e-5);
}

TEST_F(MatchTest, WalkingIntoEachOtherEndsExactlyOneApartAroundTheMidpoint) {
    placeFighters(-3.0f, 0.1f);
    std::vector<float> gaps;
    for (int t = 0; t < 10; ++t) {
        turn(hands(40, 80));  // fighter 1 walks right, fighter 2 stands
        gaps.push_back(w->posX2 - w->posX1);
    }
    EXPECT_NEAR(gaps[7], 1.1f, 1e-4);
    EXPECT_NEAR(gaps[8], 0.85f, 1e-4);  // one turn inside, by less than 0.2
    // Set back around the midpoint of -0.75 and 0.1.
    EXPECT_NEAR(w->posX1, -0.825f, 1e-5);
    EXPECT_NEAR(w->posX2, 0.175f, 1e-5);
    float middle = (w->posX1 + w->posX2) / 2;
    turns(5, hands(40, 80));
    EXPECT_NEAR(w->posX2 - w->posX1, 1.0f, 1e-6);
    EXPECT_NEAR((w->posX1 + w->posX2) / 2, middle, 1e-6);

    // Both walking: inside by less than 0.4 for one turn.
    placeFighters(-1.1f, 1.1f);
    turns(2, hands(40, 120));
    EXPECT_NEAR(w->posX2 - w->posX1, 1.2f, 1e-4);
    turn(hands(40, 120));
    EXPECT_NEAR(w->posX2 - w->posX1, 0.7f, 1e-4);
    turn(hands(40, 120));
    EXPECT_NEAR(w->posX1, -0.5f, 1e-6);
    EXPECT_NEAR(w->posX2, 0.5f, 1e-6);
}

TEST_F(MatchTest, FightersStayInOrderAndApartAtTheEdges) {
    placeFighters(12.0f, 15.0f);
    for (int t = 0; t < 30; ++t) {
        turn(hands(40, 0));  // both push right
        ASSERT_LE(w->posX1, 14.0f);
        ASSERT_LE(w->posX2, 15.0f);
        ASSERT_GE(w->posX2 - w->posX1, 1.0f - 1e-6) << "turn " << t;
    }
    EXPECT_EQ(w->posX1, 14.0f);
    EXPECT_EQ(w->posX2, 15.0f);

    placeFighters(-13.0f, 0.0f);
    turns(20, hands(120, 80));
    EXPECT_EQ(w->posX1, -14.0f);
}

TEST_F(MatchTest, RockCancelsAChargeUntilItIsFullAndThenReleasesIt) {
    turn(signs(PAPER, World::NO_SIGN));
    EXPECT_EQ(state(1), World::CHARGE);
    EXPECT_EQ(move(1), World::COMBO_PREP);
    turns(8);
    EXPECT_EQ(w->frame1, 45);
    turn(signs(ROCK, World::NO_SIGN));  // 10th turn of the charge: still cancels
    EXPECT_EQ(state(1), World::RECOVERY);
    EXPECT_EQ(move(1), World::COMBO_BACK);
    EXPECT_EQ(w->frame1, 5);
    EXPECT_EQ(w->lastSign1, ROCK);
    for (int t = 2; t <= 10; ++t) {
        turn();
        ASSERT_EQ(state(1), World::RECOVERY) << "recovery turn " << t;
    }
    turn();
    EXPECT_EQ(state(1), World::IDLE);  // 11th turn of the recovery

    // Scissors shown during a paper charge decides the attack that rock releases.
    turn(signs(PAPER, World::NO_SIGN));
    turn(signs(SCISSORS, World::NO_SIGN));
    EXPECT_EQ(state(1), World::CHARGE);
    turns(8);
    EXPECT_EQ(w->frame1, 50);
    turn();
    EXPECT_EQ(w->frame1, 49);  // held on its last frame from the 11th turn
    turns(5);
    EXPECT_EQ(w->frame1, 49);
    turn(signs(ROCK, World::NO_SIGN));
    EXPECT_EQ(state(1), World::RELEASE);
    EXPECT_EQ(move(1), World::AYUKEN);
    EXPECT_EQ(w->game.getGameState(), World::PLAY);
}

TEST_F(MatchTest, ReleaseExplodesTwiceAndHitsWhereverTheOpponentGoes) {
    turn(signs(SCISSORS, World::NO_SIGN));
    turns(9);
    turn(signs(ROCK, World::NO_SIGN));  // 11th turn: released
    EXPECT_EQ(state(1), World::RELEASE);
    EXPECT_EQ(w->frame1, 5);
    std::vector<std::size_t> counts{particleCount()};
    for (int t = 2; t <= 30; ++t) {
        turn(hands(80, 0));  // fighter 2 walks away all the while
        counts.push_back(particleCount());
        ASSERT_EQ(state(1), World::RELEASE) << "release turn " << t;
        ASSERT_EQ(life(2), 100);
    }
    EXPECT_EQ(counts[12], 0u);
    EXPECT_EQ(counts[13], 100u);  // 14th turn, frame 70
    EXPECT_EQ(counts[14], 200u);  // 15th turn, frame 75
    EXPECT_EQ(counts[29], 200u);
    EXPECT_GT(w->posX2, 9.0f);
    turn(hands(80, 0));  // 31st turn
    EXPECT_EQ(life(2), 80);
    EXPECT_EQ(state(1), World::RECOVERY);
    EXPECT_EQ(move(1), World::COMBO_BACK);

    // The same sign may charge again at once: only close attacks need a new sign.
    turns(9);
    turn(signs(SCISSORS, World::NO_SIGN));  // shown during recovery
    EXPECT_EQ(w->lastSign1, SCISSORS);
    turn();
    EXPECT_EQ(state(1), World::IDLE);
    turn(signs(SCISSORS, World::NO_SIGN));
    EXPECT_EQ(state(1), World::CHARGE);
}
