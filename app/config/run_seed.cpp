#include "app/config/run_seed.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>

#include "play/seeded_random.h"

// A fresh seed is kept to 32 bits: short enough to type back.
uint64_t chooseSeed(const Options& options) {
    if (options.seedGiven) return options.seed;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks = static_cast<uint64_t>(now.count());
    return play::SeededRandom(ticks).next() & 0xffffffffULL;
}

void announceSeed(const Options& options, uint64_t seed) {
    if (!anyPlayer(options, play::PlayerSource::COMPUTER)) return;
    std::printf("seed %" PRIu64 "\n", seed);
    std::fflush(stdout);
}
