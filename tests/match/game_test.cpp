#include "match/Game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>

namespace {

void expectAllZeroButPhase(const Game& g, int phase) {
    EXPECT_EQ(g.getGameState(), phase);
    for (int p : {1, 2}) {
        EXPECT_EQ(g.getPstate(p), 0);
        EXPECT_EQ(g.getPmove(p), 0);
        EXPECT_EQ(g.getCsign(p), 0);
        EXPECT_EQ(g.getLsign(p), 0);
    }
}

}  // namespace

TEST(Game, StartsAtZeroAndInitEntersNormalPlayAfterAClash) {
    // The global lives in zero-filled storage; build one the same way, over dirty bytes too.
    alignas(Game) unsigned char storage[sizeof(Game)];
    std::memset(storage, 0xAB, sizeof storage);
    Game* g = new (storage) Game;
    expectAllZeroButPhase(*g, 0);

    g->setPstate(1, 4);
    g->setPmove(2, 5);
    g->setLsign(1, 3);
    g->setGameState(3);
    g->init();
    expectAllZeroButPhase(*g, 1);
    g->~Game();
}

TEST(Game, OnlyOneSelectsThePlayerOneField) {
    Game g;
    g.setPstate(1, 11);
    g.setPmove(1, 12);
    g.setCsign(1, 13);
    g.setLsign(1, 14);
    for (int other : {0, 2, 7, -1}) {
        g.setPstate(other, 20 + other);
        EXPECT_EQ(g.getPstate(2), 20 + other);
        EXPECT_EQ(g.getPstate(other), 20 + other);
        EXPECT_EQ(g.getPstate(1), 11) << "player " << other << " wrote player 1's state";
    }
    g.setPmove(0, 5);
    g.setCsign(9, 6);
    g.setLsign(-3, 7);
    EXPECT_EQ(g.getPmove(2), 5);
    EXPECT_EQ(g.getCsign(2), 6);
    EXPECT_EQ(g.getLsign(2), 7);
    EXPECT_EQ(g.getPmove(1), 12);
    EXPECT_EQ(g.getCsign(1), 13);
    EXPECT_EQ(g.getLsign(1), 14);
}

TEST(Game, LastAndCurrentSignAreSeparateFields) {
    Game g;
    g.setLsign(1, 3);
    EXPECT_EQ(g.getLsign(1), 3);
    EXPECT_EQ(g.getCsign(1), 0);
    g.setCsign(2, 1);
    EXPECT_EQ(g.getLsign(2), 0);
    EXPECT_EQ(g.getCsign(2), 1);
    EXPECT_EQ(g.getLsign(1), 3);
}
