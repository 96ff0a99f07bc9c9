#pragma once
// The computer's own generator (SplitMix64): the same numbers from the same seed with every
// compiler and standard library, which std:: distributions do not promise. A match played
// again from its seed must take the same decisions on Linux and Windows alike.
#include <cstdint>

namespace play {

class SeededRandom {
public:
    explicit SeededRandom(uint64_t seed = 0) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // A whole number from 0 to bound - 1; bound must be above 0. The bias of the remainder
    // is far below anything a match could show.
    int below(int bound) { return static_cast<int>(next() % static_cast<uint64_t>(bound)); }
    // True `percent` times in a hundred.
    bool chance(int percent) { return below(100) < percent; }

private:
    uint64_t state_;
};

// A seed of its own for each user of one run's seed, so that two computer fighters given the
// same run seed still play differently.
inline uint64_t deriveSeed(uint64_t runSeed, uint64_t user) {
    return SeededRandom(runSeed ^ (user * 0xd1b54a32d192ed03ULL)).next();
}

}  // namespace play
