// The clash: two ranged attacks of the same kind meet and three rounds of rock, paper,
// scissors are played at a fifth of the normal speed.
#include "MatchFixture.h"

#include <map>

namespace {

const int ROCK = World::ROCK;
const int PAPER = World::PAPER;
const int SCISSORS = World::SCISSORS;

struct Expected {
    int banner;    // newest stage of tower 5 after the turn
    int score;     // roundScore
    size_t wins1;  // stages of tower 3
    int life2;
};

}  // namespace

// Both charge paper in turn 1; player 1 releases with rock in turn 14 while fighter 2 holds
// its charge, then player 1 shows scissors and player 2 paper until the end.
TEST_F(MatchTest, ClashFromTheFirstTurnToBothReleasesEnding) {
    turn(signs(PAPER, PAPER));
    EXPECT_EQ(state(1), World::CHARGE);
    EXPECT_EQ(state(2), World::CHARGE);
    EXPECT_EQ(newestStage(animation::kSignTower1), World::signIcon(PAPER));
    EXPECT_EQ(newestStage(animation::kSignTower2), World::signIcon(PAPER));
    turns(12);
    EXPECT_EQ(w->game.getGameState(), World::PLAY);

    turn(signs(ROCK, World::NO_SIGN));  // turn 14
    EXPECT_EQ(w->game.getGameState(), World::CLASH);
    EXPECT_EQ(w->frameStep, 1);
    EXPECT_EQ(state(1), World::RELEASE);
    EXPECT_EQ(state(2), World::RELEASE);
    EXPECT_EQ(move(1), World::BANANA);
    EXPECT_EQ(move(2), World::BANANA);
    EXPECT_EQ(w->frame1, 5);
    EXPECT_EQ(w->frame2, 2);
    EXPECT_EQ(tower(animation::kSignTower1).size(), 1u);  // no icons during the clash

    const std::map<int, Expected> events = {
        {19, {World::CHIFFOU, 0, 0, 100}},  {39, {World::MI, 0, 0, 100}},
        {59, {World::CHIFFOU, 1, 1, 100}},  {79, {World::MI, 1, 1, 100}},
        {99, {World::CHIFFOU, 2, 2, 100}},  {119, {World::MI, 2, 2, 100}},
        {139, {World::CRITICAL, 3, 3, 80}}, {157, {World::PAWIN, 3, 3, 60}},
    };
    // Explosions at frames 70 and 75 of each release: fighter 1's at turns 79 and 84,
    // fighter 2's (two frames behind) at 82 and 87, 80 particles each.
    const std::map<int, size_t> particlesAfter = {
        {78, 0}, {79, 80}, {82, 160}, {84, 240}, {87, 320}};
    Expected now{-1, 0, 0, 100};
    for (int t = 15; t <= 158; ++t) {
        turn(signs(SCISSORS, PAPER));
        SCOPED_TRACE("turn " + std::to_string(t));
        auto event = events.find(t);
        if (event != events.end()) {
            now = event->second;
            ASSERT_EQ(newestStage(animation::kBannerTower), now.banner);
            ASSERT_LE(tower(animation::kBannerTower).size(),
                      2u);  // an old banner leaves at the next turn
        } else {
            ASSERT_LE(tower(animation::kBannerTower).size(), 1u);
        }
        ASSERT_EQ(w->roundScore, now.score);
        ASSERT_EQ(tower(animation::kWinTower1).size(), now.wins1);
        ASSERT_EQ(tower(animation::kWinTower2).size(), 0u);
        ASSERT_EQ(life(2), now.life2);
        ASSERT_EQ(life(1), 100);
        bool clash = t < 157;
        ASSERT_EQ(w->game.getGameState(), clash ? World::CLASH : World::PLAY_AFTER_CLASH);
        ASSERT_EQ(w->frameStep, clash ? 1 : 5);
        ASSERT_EQ(state(1), World::RELEASE);
        ASSERT_EQ(state(2), World::RELEASE);
        auto expectedParticles = particlesAfter.find(t);
        if (expectedParticles != particlesAfter.end()) {
            ASSERT_EQ(particleCount(), expectedParticles->second);
        }
    }
    EXPECT_EQ(w->frame1, 153);
    EXPECT_EQ(w->frame2, 150);
    for (auto stage : tower(animation::kWinTower1)) EXPECT_EQ(stage[2], World::WIN);
    // Each round stacks both players' signs: scissors for 1, paper for 2.
    auto signs1 = tower(animation::kSignTower1);
    auto signs2 = tower(animation::kSignTower2);
    ASSERT_EQ(signs1.size(), 4u);
    ASSERT_EQ(signs2.size(), 4u);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(signs1[i][2], 4.0f);
        EXPECT_EQ(signs2[i][2], 3.0f);
    }

    turn(signs(SCISSORS, PAPER));  // turn 159: both releases end, outside the clash
    EXPECT_EQ(life(1), 80);
    EXPECT_EQ(life(2), 40);
    EXPECT_EQ(state(1), World::RECOVERY);
    EXPECT_EQ(state(2), World::RECOVERY);
}

// Both hold a full paper charge and both show rock in the same turn: fighter 1 releases into
// fighter 2's charge, and fighter 2's rock cancels the release it was just given.
TEST_F(MatchTest, BothReleasingWithRockCancelsTheSecondFighterButTheClashRuns) {
    turn(signs(PAPER, PAPER));
    turns(9);
    turn(signs(ROCK, ROCK));  // turn 11
    EXPECT_EQ(w->game.getGameState(), World::CLASH);
    EXPECT_EQ(state(1), World::RELEASE);
    EXPECT_EQ(state(2), World::RECOVERY);
    EXPECT_EQ(move(2), World::COMBO_BACK);
    EXPECT_EQ(w->frame1, 5);
    EXPECT_EQ(w->frame2, 1);

    int idleAgain = 0;
    for (int t = 12; t <= 155; ++t) {
        turn();
        if (idleAgain == 0 && state(2) == World::IDLE) idleAgain = t;
        if (t == 136) {  // frame1 130: all rounds drawn, so a plain hit banner
            EXPECT_EQ(w->roundScore, 0);
            EXPECT_EQ(newestStage(animation::kBannerTower), World::PAF);
        }
        ASSERT_EQ(w->game.getGameState(), t < 154 ? World::CLASH : World::PLAY_AFTER_CLASH)
            << "turn " << t;
    }
    EXPECT_EQ(idleAgain, 61);  // recovery at one frame per turn
    EXPECT_EQ(tower(animation::kWinTower1).size(), 0u);
    EXPECT_EQ(tower(animation::kWinTower2).size(), 0u);
    EXPECT_EQ(life(2), 100);
    turn();  // turn 156: fighter 1's release ends after the clash and lands
    EXPECT_EQ(life(2), 80);
    EXPECT_EQ(life(1), 100);
    EXPECT_EQ(state(1), World::RECOVERY);
}

// A release meets a charge only when the charge is past frame 20 and of the same kind.
TEST_F(MatchTest, ReleaseAgainstAnotherKindOrAYoungChargeIsNoClash) {
    turn(signs(PAPER, SCISSORS));
    turns(10);
    turn(signs(ROCK, World::NO_SIGN));
    EXPECT_EQ(w->game.getGameState(), World::PLAY);
    EXPECT_EQ(state(2), World::CHARGE);

    turns(29);
    EXPECT_EQ(life(2), 100);
    turn();  // the release's 31st turn
    EXPECT_EQ(life(2), 80);

    // Player 2 still holds scissors; player 1 charges scissors again and releases while
    // fighter 2's charge is full: same kind, so the clash starts.
    turns(11);
    EXPECT_EQ(state(1), World::IDLE);
    turn(signs(SCISSORS, World::NO_SIGN));
    turns(10);
    turn(signs(ROCK, World::NO_SIGN));
    EXPECT_EQ(w->game.getGameState(), World::CLASH);
    EXPECT_EQ(move(1), World::AYUKEN);
    EXPECT_EQ(move(2), World::AYUKEN);
}
