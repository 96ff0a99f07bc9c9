#pragma once
// A match driven turn by turn without a window: the move library read from the data folder,
// the mixer on SDL's dummy driver so the effects really play, and the start values of init.
#include "match/World.h"
#include "sound/Son.h"
#include "tests/support/data_folder.h"
#include "tests/support/sdl_exit.h"
#include "tests/support/working_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

// Runs f with the data folder as working directory, as the game runs.
template <class F>
void inDataDir(F f) {
    const testsupport::WorkingFolder here(testsupport::dataFolder());
    f();
}

// One turn's readings; a hand at the middle column asks for no walking.
struct Reading {
    int baryX1 = vision::kHalfMiddleColumn;
    int baryX2 = vision::kHalfMiddleColumn;
    int rps1 = World::NO_SIGN;
    int rps2 = World::NO_SIGN;
};

inline Reading signs(int rps1, int rps2) {
    Reading r;
    r.rps1 = rps1;
    r.rps2 = rps2;
    return r;
}

inline Reading hands(int baryX1, int baryX2, int rps1 = World::NO_SIGN, int rps2 = World::NO_SIGN) {
    Reading r;
    r.baryX1 = baryX1;
    r.baryX2 = baryX2;
    r.rps1 = rps1;
    r.rps2 = rps2;
    return r;
}

class MatchTest : public ::testing::Test {
protected:
    static const Moves& loadedMoves() {
        static Moves* loaded = nullptr;
        if (loaded == nullptr) {
            loaded = new Moves;
            bool ok = false;
            inDataDir([&] { ok = loaded->readMoves(); });
            if (!ok) ADD_FAILURE() << "keyframe files missing in " << testsupport::dataFolder();
        }
        return *loaded;
    }

    static void openMixer() {
        if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) return;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        inDataDir([] { initSon(); });
        testsupport::closeSdlAtExit();
    }

    void SetUp() override {
        openMixer();
        w = std::make_unique<World>();
        w->moves = loadedMoves();
        w->setStartValues();
        acceptInput();
    }

    // The first 51 turns of a run take no input; most sequences start after them.
    void acceptInput() { w->timer = World::inputTimer; }

    void turn(const Reading& r = Reading()) {
        w->handleWebcamEvents(r.baryX1, vision::kMiddleRow, r.baryX2, vision::kMiddleRow, r.rps1,
                              r.rps2);
        w->update();
    }

    void turns(int count, const Reading& r = Reading()) {
        for (int i = 0; i < count; ++i) turn(r);
    }

    void placeFighters(float x1, float x2) {
        w->posX1 = w->drawnX1 = x1;
        w->posX2 = w->drawnX2 = x2;
    }

    int state(int player) const { return w->game.getPstate(player); }
    int move(int player) const { return w->game.getPmove(player); }
    int life(int player) const { return player == 1 ? w->life1 : w->life2; }
    std::size_t particleCount() { return w->moves.moveParticles(0).size(); }
    std::vector<std::vector<float>> tower(int t) { return w->moves.getTower(t); }
    // Texture of the newest stage of a tower, -1 when it is empty.
    int newestStage(int t) {
        auto stages = tower(t);
        return stages.empty() ? -1 : static_cast<int>(stages.back()[2]);
    }

    // True when the effect is playing on some channel (the test halts all channels first).
    static bool playing(Mix_Chunk* chunk) {
        for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
            if (Mix_Playing(channel) && Mix_GetChunk(channel) == chunk) return true;
        return false;
    }

    std::unique_ptr<World> w;
};
