#include <gtest/gtest.h>

#include <cstdlib>
#include <cmath>
#include <deque>

#include "animation/codes.h"
#include "animation/moves.h"

// The particle bursts draw from rand(); this program replaces it with a scripted source so the
// draws and their order can be checked exactly. Unscripted draws fall back to a fixed LCG.
namespace {
std::deque<int> scripted;
int drawsMade = 0;
unsigned int fallbackState = 12345;
}  // namespace

extern "C" int rand() noexcept {
    ++drawsMade;
    if (!scripted.empty()) {
        const int value = scripted.front();
        scripted.pop_front();
        return value;
    }
    fallbackState = fallbackState * 1103515245u + 12345u;
    return static_cast<int>((fallbackState >> 1) & 0x7fffffff);
}

namespace {

using namespace animation;

typedef std::vector<std::vector<float>> Entries;

// rand() values that give an offset r (-4.00..3.99) or r4 (-0.50..0.49) or a boost f (2.0..9.9).
int offset(double r) { return static_cast<int>(std::lround((r + 4.0) * 100.0)); }
int along(double r4) { return static_cast<int>(std::lround((r4 + 0.5) * 100.0)); }
int boost(double f) { return static_cast<int>(std::lround((f - 2.0) * 10.0)); }

class Particles : public ::testing::Test {
protected:
    void SetUp() override {
        scripted.clear();
        drawsMade = 0;
    }
    // One particle from a burst at (1, 2, 3) along `axis` with the scripted draws; checks that
    // it used exactly those draws.
    std::vector<float> one(std::vector<float> axis, std::deque<int> draws, int side = 1) {
        const int expectedDraws = static_cast<int>(draws.size());
        scripted = draws;
        drawsMade = 0;
        Moves moves;
        moves.newBang({1, 2, 3, axis[0], axis[1], axis[2]}, 1, side);
        EXPECT_EQ(drawsMade, expectedDraws);
        EXPECT_TRUE(scripted.empty());
        const Entries p = moves.moveParticles(0);
        return p.at(0);
    }
};

TEST_F(Particles, NewParticleLayout) {
    const std::vector<float> p = one({1, 1, 1}, {offset(3), offset(0), offset(0), along(0)}, 2);
    ASSERT_EQ(p.size(), 9u);
    EXPECT_EQ(p[0], 0.0f);         // age, unchanged by a step of 0
    EXPECT_FLOAT_EQ(p[1], 0.98f);  // alpha, faded once
    EXPECT_EQ(p[2], 1.0f);
    EXPECT_EQ(p[3], 2.0f);
    EXPECT_EQ(p[4], 3.0f);
    // R = (3, 0, 0), D = (1, 1, 1): R x D = (0, -3, 3), s = 18, so unchanged.
    EXPECT_FLOAT_EQ(p[5], 0.0f);
    EXPECT_FLOAT_EQ(p[6], -3.0f);
    EXPECT_FLOAT_EQ(p[7], 3.0f);
    EXPECT_EQ(p[8], 0.0f);  // side 2
}

TEST_F(Particles, SlowestBandDrawsThreeBoostsInAxisOrder) {
    // r1 = r2 = r3 = 0, r4 = 0.1: velocity (0.1, 0.1, 0.1), s = 0.03 < 4.
    const std::vector<float> p = one({1, 1, 1}, {offset(0), offset(0), offset(0), along(0.1),
                                                 boost(2.0), boost(5.5), boost(9.9)});
    EXPECT_NEAR(p[5], 2.1f, 1e-5);
    EXPECT_NEAR(p[6], 5.6f, 1e-5);
    EXPECT_NEAR(p[7], 10.0f, 1e-5);
    EXPECT_EQ(p[8], 1.0f);  // side 1
}

TEST_F(Particles, BandThresholds) {
    // Axis (1, 0, 0): v = (r4, r3, -r2), so s = r4^2 + r3^2 + r2^2.
    const std::vector<float> x{1, 0, 0};
    std::vector<float> p =
        one(x, {offset(0), offset(0), offset(1.99), along(0), boost(3), boost(4), boost(5)});
    EXPECT_FLOAT_EQ(p[5], 3.0f);  // s = 3.96: boosted along the axis
    EXPECT_FLOAT_EQ(p[6], 1.99f);
    p = one(x, {offset(0), offset(0), offset(2), along(0)});  // s = 4: times 7
    EXPECT_FLOAT_EQ(p[6], 14.0f);
    p = one(x, {offset(0), offset(-2.99), offset(0), along(0)});  // s = 8.94: times 7
    EXPECT_FLOAT_EQ(p[7], 2.99f * 7.0f);
    p = one(x, {offset(0), offset(0), offset(3), along(0)});  // s = 9: times 5
    EXPECT_FLOAT_EQ(p[6], 15.0f);
    p = one(x, {offset(0), offset(3.99), offset(0), along(0)});  // s = 15.92: times 5
    EXPECT_FLOAT_EQ(p[7], -3.99f * 5.0f);
    p = one(x, {offset(0), offset(0), offset(-4), along(0)});  // s = 16: unchanged
    EXPECT_FLOAT_EQ(p[6], -4.0f);
}

TEST_F(Particles, ZeroAxisParticlesStayPutAndOnlyFade) {
    Moves moves;
    moves.newBang({1, 2, 3, 0, 0, 0}, 5, 1);
    EXPECT_EQ(drawsMade, 5 * 7);  // always the slowest band
    Entries p;
    for (int i = 0; i < 3; ++i) p = moves.moveParticles(5);
    ASSERT_EQ(p.size(), 5u);
    for (const std::vector<float>& q : p) {
        EXPECT_EQ(q[0], 15.0f);
        EXPECT_FLOAT_EQ(q[1], 0.98f * 0.98f * 0.98f);
        EXPECT_EQ(q[2], 1.0f);
        EXPECT_EQ(q[3], 2.0f);
        EXPECT_EQ(q[4], 3.0f);
        EXPECT_EQ(q[5], 0.0f);
    }
}

TEST_F(Particles, CountZeroAddsNothingAndDrawsNothing) {
    Moves moves;
    moves.newBang({0, 0, 0, 1, 1, 1}, 0, 1);
    EXPECT_EQ(drawsMade, 0);
    EXPECT_TRUE(moves.moveParticles(1).empty());
}

TEST_F(Particles, ShortBurstDescriptionReadsAsZeros) {
    Moves moves;
    moves.newBang({7}, 2, 1);
    const Entries p = moves.moveParticles(0);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0][2], 7.0f);
    EXPECT_EQ(p[0][5], 0.0f);
}

TEST_F(Particles, MovingFollowsTheVelocity) {
    scripted = {offset(3), offset(0), offset(0), along(0)};  // velocity (0, -3, 3)
    Moves moves;
    moves.newBang({1, 2, 3, 1, 1, 1}, 1, 1);
    const std::vector<float> p = moves.moveParticles(10).at(0);
    EXPECT_EQ(p[0], 10.0f);
    EXPECT_FLOAT_EQ(p[2], 1.0f);
    EXPECT_FLOAT_EQ(p[3], 2.0f - 0.03f);
    EXPECT_FLOAT_EQ(p[4], 3.0f + 0.03f);
}

TEST_F(Particles, ThousandIsKeptAndOneMoreEmptiesTheList) {
    Moves moves;
    moves.newBang({0, 0, 0, 1, 1, 1}, 1000, 1);
    EXPECT_EQ(moves.moveParticles(1).size(), 1000u);
    moves.newBang({0, 0, 0, 1, 1, 1}, 1, 1);
    EXPECT_TRUE(moves.moveParticles(1).empty());
    moves.newBang({0, 0, 0, 1, 1, 1}, 3, 2);
    EXPECT_EQ(moves.moveParticles(1).size(), 3u);
}

TEST_F(Particles, ReturnedListIsACopy) {
    Moves moves;
    moves.newBang({0, 0, 0, 0, 0, 0}, 2, 1);
    Entries p = moves.moveParticles(0);
    p[0][2] = 99.0f;
    p.clear();
    const Entries again = moves.moveParticles(0);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0][2], 0.0f);
}

// ---- towers -----------------------------------------------------------------------------------

std::vector<float> textures(const Entries& tower) {
    std::vector<float> t;
    for (const std::vector<float>& stage : tower) t.push_back(stage[2]);
    return t;
}

void ageAll(Moves& moves, int calls) {
    for (int i = 0; i < calls; ++i) moves.moveTower(1);
}

TEST(Towers, StagesGoToTheirTowerAndAnyOtherNumberIsTowerFive) {
    Moves moves;
    // Each of the four numbered towers gets its own texture; numbers outside the towers' range
    // name no tower.
    for (int t = kSignTower1; t <= kWinTower2; ++t) moves.addStage(t, kRockIcon + t - kSignTower1);
    moves.addStage(kSignTower1 - 1, kPaf);
    moves.addStage(kTowerCount + 4, kCritical);
    for (int t = kSignTower1; t <= kWinTower2; ++t)
        EXPECT_EQ(textures(moves.getTower(t)),
                  std::vector<float>{float(kRockIcon + t - kSignTower1)});
    EXPECT_EQ(textures(moves.getTower(kBannerTower)), (std::vector<float>{kPaf, kCritical}));
    EXPECT_EQ(moves.getTower(kSignTower1 - 1), moves.getTower(kBannerTower));
    EXPECT_EQ(moves.getTower(-2), moves.getTower(kBannerTower));
    const std::vector<float> stage = moves.getTower(kSignTower1).at(0);
    EXPECT_EQ(stage, (std::vector<float>{0.0f, 1.0f, kRockIcon}));
}

TEST(Towers, SignStagesAgeFadeAndGoAfterThreeHundredTicks) {
    Moves moves;
    moves.addStage(kSignTower1, kRockIcon);
    ageAll(moves, 150);
    moves.addStage(kSignTower1, kPaperIcon);
    ageAll(moves, 151);  // the first stage is 301 old now, but only checked at the next call
    ASSERT_EQ(moves.getTower(kSignTower1).size(), 2u);
    EXPECT_EQ(moves.getTower(kSignTower1)[0][0], 301.0f);
    moves.moveTower(1);
    EXPECT_EQ(textures(moves.getTower(kSignTower1)), std::vector<float>{kPaperIcon});
    EXPECT_NEAR(moves.getTower(kSignTower1)[0][1], std::pow(0.98, 152), 1e-4);
}

TEST(Towers, OnlyARunOfOldStagesAtTheFrontIsRemoved) {
    Moves moves;
    moves.addStage(kSignTower2, kRockIcon);
    ageAll(moves, 100);
    moves.addStage(kSignTower2, kPaperIcon);
    ageAll(moves, 202);  // first is 302, second 202
    EXPECT_EQ(textures(moves.getTower(kSignTower2)), std::vector<float>{kPaperIcon});
}

TEST(Towers, WinTowersCollapseOnTheFourthStage) {
    Moves moves;
    for (int i = 0; i < 3; ++i) moves.addStage(kWinTower1, kWin);
    moves.moveTower(1);
    EXPECT_EQ(moves.getTower(kWinTower1).size(), 3u);
    moves.addStage(kWinTower1, kScissorsIcon);
    moves.moveTower(1);
    EXPECT_EQ(textures(moves.getTower(kWinTower1)), std::vector<float>{kScissorsIcon});
}

TEST(Towers, TowerThreeAgesBeforeTrimmingAndTowerFourAfter) {
    Moves moves;
    for (int tower : {kWinTower1, kWinTower2}) moves.addStage(tower, kWin);
    ageAll(moves, 301);  // the first stage of each is 301 old
    for (int tower : {kWinTower1, kWinTower2})
        for (int icon : {kRockIcon, kPaperIcon, kScissorsIcon}) moves.addStage(tower, icon);
    moves.moveTower(1);
    EXPECT_EQ(textures(moves.getTower(kWinTower1)),
              (std::vector<float>{kRockIcon, kPaperIcon, kScissorsIcon}));
    EXPECT_EQ(textures(moves.getTower(kWinTower2)), std::vector<float>{kScissorsIcon});
}

TEST(Towers, BannerTowerGivesWayOneStagePerCallAndFadesFaster) {
    Moves moves;
    moves.addStage(kBannerTower, kChiffou);
    moves.addStage(kBannerTower, kMi);
    moves.addStage(kBannerTower, kPaf);
    moves.moveTower(1);
    EXPECT_EQ(textures(moves.getTower(kBannerTower)), (std::vector<float>{kMi, kPaf}));
    moves.moveTower(1);
    EXPECT_EQ(textures(moves.getTower(kBannerTower)), std::vector<float>{kPaf});
    const std::vector<float> banner = moves.getTower(kBannerTower)[0];
    EXPECT_EQ(banner[0], 0.0f);  // banners do not age
    EXPECT_FLOAT_EQ(banner[1], 0.9f * 0.9f);
    ageAll(moves, 400);
    EXPECT_EQ(moves.getTower(kBannerTower).size(), 1u);  // no age limit
}

TEST(Towers, StepZeroStillTrimsAndFadesButDoesNotAge) {
    Moves moves;
    for (int i = 0; i < 4; ++i) moves.addStage(kWinTower2, kWin);
    moves.addStage(kSignTower1, kRockIcon);
    moves.moveTower(0);
    EXPECT_EQ(moves.getTower(kWinTower2).size(), 1u);
    const std::vector<float> stage = moves.getTower(kSignTower1)[0];
    EXPECT_EQ(stage[0], 0.0f);
    EXPECT_FLOAT_EQ(stage[1], 0.98f);
}

TEST(Towers, GetTowerReturnsACopy) {
    Moves moves;
    moves.addStage(kSignTower1, kRockIcon);
    Entries copy = moves.getTower(kSignTower1);
    copy[0][2] = kPrWin;
    copy.push_back({0, 0, 0});
    EXPECT_EQ(moves.getTower(kSignTower1), (Entries{{0.0f, 1.0f, kRockIcon}}));
}

}  // namespace
