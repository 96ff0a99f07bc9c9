#pragma once
// What a turn of the rules sets off outside the match state: the effects to sound and the
// bursts of particles to start. The step only lists them, so that a turn run again on a copy
// of the state (a replay check, a rollback) does not play them twice; the game plays them
// once per turn it shows.
#include <cstdint>

struct TurnEvents {
    // A burst of `count` particles at x (the fighter's height and depth are fixed) for the
    // fighter `target`.
    struct Burst {
        float x;
        int32_t count;
        int32_t target;
    };
    static constexpr int maxBursts = 8;

    int32_t sound1 = 0;  // plays of the head-punch effect
    int32_t sound2 = 0;  // plays of the punch effect
    int32_t burstCount = 0;
    Burst bursts[maxBursts] = {};
    // A new match starts: the particles in flight go (after this turn's bursts).
    bool clearParticles = false;

    void addBurst(float x, int count, int target) {
        if (burstCount < maxBursts) bursts[burstCount++] = Burst{x, count, target};
    }
    void clear() { *this = TurnEvents(); }
};
