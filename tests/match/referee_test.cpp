// The end of a match and the next one, turn by turn as the main loop drives them: knock-out,
// the ending's banners with no input, the new match's start, draws, and the run's count.
#include "MatchFixture.h"
#include "match/Referee.h"

namespace {

const int PAPER = World::PAPER;
const int SCISSORS = World::SCISSORS;

class RefereeTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        ref = std::make_unique<Referee>(*w);
    }

    // One turn as the main loop plays it with a camera.
    void fullTurn(const Reading& r = Reading()) {
        if (ref->inputAllowed())
            w->handleWebcamEvents(r.baryX1, vision::kMiddleRow, r.baryX2, vision::kMiddleRow,
                                  r.rps1, r.rps2);
        else
            w->setInputs();
        w->update();
        ref->afterUpdate();
    }

    // Close together, `winner` head-punches the other fighter, whose life is 10, to 0.
    void knockOutBy(int winner) {
        while (w->timer > World::inputTimer) fullTurn();
        placeFighters(-0.75f, 0.75f);
        (winner == 1 ? w->life2 : w->life1) = 10;
        fullTurn(winner == 1 ? signs(SCISSORS, World::NO_SIGN) : signs(World::NO_SIGN, SCISSORS));
    }

    void playOutTheEnding() {
        for (int i = 0; i < Referee::endingTurns && !ref->inputAllowed(); ++i) fullTurn();
        ASSERT_TRUE(ref->inputAllowed()) << "the ending did not end";
    }

    // Every value the rules read, as the first match of a run starts.
    void expectNewMatch() {
        EXPECT_EQ(life(1), 100);
        EXPECT_EQ(life(2), 100);
        EXPECT_EQ(w->posX1, -5.0f);
        EXPECT_EQ(w->posX2, 5.0f);
        EXPECT_EQ(w->drawnX1, -5.0f);
        EXPECT_EQ(w->drawnX2, 5.0f);
        EXPECT_EQ(w->speedX1, 0.0f);
        EXPECT_EQ(w->speedX2, 0.0f);
        EXPECT_EQ(w->frame1, 0);
        EXPECT_EQ(w->frame2, 0);
        EXPECT_EQ(w->roundScore, 0);
        EXPECT_EQ(w->frameStep, 5);
        EXPECT_EQ(w->timer, 1000);
        EXPECT_TRUE(w->webcamOn);
        EXPECT_EQ(w->lastSign1, World::NO_SIGN);
        EXPECT_EQ(w->lastSign2, World::NO_SIGN);
        EXPECT_EQ(w->left1 + w->right1 + w->up1 + w->down1 + w->sign1, 0);
        EXPECT_EQ(w->left2 + w->right2 + w->up2 + w->down2 + w->sign2, 0);
        EXPECT_EQ(w->game.getGameState(), 0);
        for (int p : {1, 2}) {
            EXPECT_EQ(w->game.getPstate(p), 0);
            EXPECT_EQ(w->game.getPmove(p), World::REST);
            EXPECT_EQ(w->game.getCsign(p), 0);
            EXPECT_EQ(w->game.getLsign(p), 0);
        }
        for (int t = animation::kSignTower1; t <= animation::kTowerCount; ++t)
            EXPECT_TRUE(tower(t).empty()) << "tower " << t;
        EXPECT_EQ(particleCount(), 0u);
    }

    std::unique_ptr<Referee> ref;
};

TEST_F(RefereeTest, AKnockOutShowsKoThenTheWinnerIgnoresInputAndStartsANewMatch) {
    placeFighters(-0.75f, 0.75f);
    w->lastSign1 = PAPER;
    w->life2 = 10;
    fullTurn(signs(SCISSORS, World::NO_SIGN));
    EXPECT_EQ(life(2), 0);
    EXPECT_FALSE(ref->inputAllowed());
    EXPECT_EQ(ref->winner(), 1);
    EXPECT_EQ(ref->wins(1), 1);
    EXPECT_EQ(ref->wins(2), 0);
    EXPECT_EQ(newestStage(animation::kBannerTower), World::KO);

    // The ending: whatever both players show, walk or sign, nothing moves or hurts.
    for (int turn = 2; turn <= Referee::endingTurns; ++turn) {
        fullTurn(hands(20, 140, PAPER, SCISSORS));
        ASSERT_FALSE(ref->inputAllowed()) << "turn " << turn;
        ASSERT_EQ(newestStage(animation::kBannerTower),
                  turn > Referee::verdictTurn ? World::PAWIN : World::KO)
            << "turn " << turn;
        ASSERT_EQ(life(1), 100);
        ASSERT_EQ(life(2), 0);
        ASSERT_EQ(w->posX1, -0.75f);
        ASSERT_EQ(w->posX2, 0.75f);
        ASSERT_NE(state(2), World::CHARGE);
    }
    EXPECT_EQ(state(1), World::IDLE);  // the head punch played out

    fullTurn(hands(20, 140, PAPER, SCISSORS));
    EXPECT_TRUE(ref->inputAllowed());
    expectNewMatch();
    EXPECT_EQ(ref->wins(1), 1);

    // As at the start of the run, the first 51 turns take no input.
    for (int turn = 1; turn <= 51; ++turn) fullTurn(hands(20, 140, PAPER, PAPER));
    EXPECT_EQ(w->posX1, -5.0f);
    EXPECT_EQ(state(1), World::IDLE);
    fullTurn(hands(20, 140, PAPER, PAPER));
    EXPECT_EQ(state(1), World::CHARGE);
    EXPECT_EQ(w->posX1, -4.75f);
}

TEST_F(RefereeTest, BothFightersDownInOneTurnIsADrawAndNobodyWins) {
    placeFighters(-0.75f, 0.75f);
    w->lastSign1 = w->lastSign2 = PAPER;
    w->life1 = w->life2 = 10;
    fullTurn(signs(SCISSORS, SCISSORS));
    EXPECT_EQ(life(1), 0);
    EXPECT_EQ(life(2), 0);
    EXPECT_FALSE(ref->inputAllowed());
    EXPECT_EQ(ref->winner(), 0);
    EXPECT_EQ(newestStage(animation::kBannerTower), World::KO);
    for (int turn = 2; turn <= Referee::verdictTurn + 1; ++turn) fullTurn();
    EXPECT_EQ(newestStage(animation::kBannerTower), World::DRAW);
    playOutTheEnding();
    EXPECT_EQ(ref->wins(1), 0);
    EXPECT_EQ(ref->wins(2), 0);
    expectNewMatch();
}

TEST_F(RefereeTest, ABlowLandingDuringTheEndingChangesNeitherWinnerNorCount) {
    // Fighter 2's ranged attack is about to end and deal its 20 when fighter 1 knocks it out.
    placeFighters(-0.75f, 0.75f);
    w->game.setPstate(2, World::RELEASE);
    w->game.setPmove(2, World::BANANA);
    w->frame2 = 140;
    w->life1 = 10;
    w->lastSign1 = PAPER;
    w->life2 = 10;
    fullTurn(signs(SCISSORS, World::NO_SIGN));
    ASSERT_EQ(ref->winner(), 1);
    for (int turn = 2; turn <= 5; ++turn) fullTurn();
    EXPECT_EQ(life(1), -10);
    EXPECT_EQ(ref->winner(), 1);
    EXPECT_EQ(ref->shownLife(life(1)), 0);
    playOutTheEnding();
    EXPECT_EQ(ref->wins(1), 1);
    EXPECT_EQ(ref->wins(2), 0);
}

TEST_F(RefereeTest, MatchesWonAreCountedOverTheWholeRun) {
    knockOutBy(1);
    playOutTheEnding();
    knockOutBy(2);
    EXPECT_EQ(ref->winner(), 2);
    EXPECT_EQ(newestStage(animation::kBannerTower), World::KO);
    for (int turn = 2; turn <= Referee::verdictTurn + 1; ++turn) fullTurn();
    EXPECT_EQ(newestStage(animation::kBannerTower), World::PRWIN);
    playOutTheEnding();
    knockOutBy(1);
    playOutTheEnding();
    EXPECT_EQ(ref->wins(1), 2);
    EXPECT_EQ(ref->wins(2), 1);
    expectNewMatch();
}

TEST_F(RefereeTest, AnEndlessMatchLetsLivesFallBelowZeroAndNeverEnds) {
    ref->setEndless(true);
    placeFighters(-0.75f, 0.75f);
    w->lastSign1 = PAPER;
    w->life2 = 5;
    fullTurn(signs(SCISSORS, World::NO_SIGN));
    EXPECT_EQ(life(2), -5);
    EXPECT_TRUE(ref->inputAllowed());
    EXPECT_TRUE(tower(animation::kBannerTower).empty());
    turns(15);
    fullTurn(signs(PAPER, World::NO_SIGN));
    EXPECT_EQ(life(2), -10);
    EXPECT_EQ(ref->shownLife(life(2)), -10);
    EXPECT_EQ(ref->wins(1), 0);

    ref->setEndless(false);
    EXPECT_EQ(ref->shownLife(-10), 0);
    EXPECT_EQ(ref->shownLife(37), 37);
}

}  // namespace
