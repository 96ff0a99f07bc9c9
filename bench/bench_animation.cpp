// interpolate on the shipped fighter against its floor (copying one keyframe Model), and the
// start-up cost of reading every move. Run with --benchmark_repetitions=N for medians.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "animation/codes.h"
#include "animation/moves.h"

namespace {

// The keyframe files are read from the working directory, as in the game.
Moves& shippedMoves() {
    static Moves* moves = [] {
        if (chdir(VORLAXIS_DATA_DIR) != 0) {
            std::perror(VORLAXIS_DATA_DIR);
            std::exit(1);
        }
        Moves* m = new Moves;
        m->loadMoves();
        return m;
    }();
    return *moves;
}

void BM_Interpolate(benchmark::State& state) {
    Moves& moves = shippedMoves();
    int time = 0;
    for (auto _ : state) {
        Model pose =
            moves.interpolate(animation::kPunch, 1 + time % 73);  // always between two keyframes
        benchmark::DoNotOptimize(pose.data());
        ++time;
    }
}
BENCHMARK(BM_Interpolate);

void BM_CopyKeyframe(benchmark::State& state) {
    Moves& moves = shippedMoves();
    const Model keyframe = moves.interpolate(animation::kPunch, 24);
    for (auto _ : state) {
        Model pose = keyframe;
        benchmark::DoNotOptimize(pose.data());
    }
}
BENCHMARK(BM_CopyKeyframe);

void BM_LoadMoves(benchmark::State& state) {
    shippedMoves();  // sets the working directory
    for (auto _ : state) {
        Moves moves;
        moves.loadMoves();
        benchmark::DoNotOptimize(&moves);
    }
}
BENCHMARK(BM_LoadMoves)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
