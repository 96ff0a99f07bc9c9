// Cost of one game turn of the match: the webcam readings handed over, the rules and the
// drawing of the frame with its buffer swap, without the main loop's waits. Needs an X
// display with OpenGL (run under xvfb-run with LIBGL_ALWAYS_SOFTWARE=1 for Mesa's software
// renderer) and SDL_AUDIODRIVER=dummy where there is no sound card.
#include <benchmark/benchmark.h>

#include <SDL/SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "match/Referee.h"
#include "match/World.h"
#include "render/backgrnd.h"
#include "sound/Son.h"

namespace {

World world;

struct Reading {
    int baryX1, baryX2, rps1, rps2;
};

// A lively match that repeats every 240 turns: the fighters walk in and trade close attacks,
// walk apart, charge and meet in a clash.
Reading scripted(long turn) {
    const int none = World::NO_SIGN, rock = World::ROCK, paper = World::PAPER;
    const int scissors = World::SCISSORS;
    const int middle = vision::kHalfMiddleColumn;
    int t = static_cast<int>(turn % 240);
    if (t < 16) return {40, 120, none, none};
    if (t < 60)
        return {middle, middle, (t % 16 == 0) ? paper + (t / 16) % 2 : none,
                (t % 16 == 8) ? scissors - (t / 16) % 2 : none};
    if (t < 76) return {120, 40, none, none};
    if (t == 76) return {middle, middle, paper, paper};
    if (t < 89) return {middle, middle, none, none};
    if (t == 89) return {middle, middle, rock, none};
    return {middle, middle, scissors, paper};
}

bool started = false;

void start() {
    if (started) return;
    if (chdir(VORLAXIS_DATA_DIR) != 0) {
        std::fprintf(stderr, "bench_match: no data folder %s\n", VORLAXIS_DATA_DIR);
        std::exit(1);
    }
    world.init();
    createBackground();
    world.timer = World::inputTimer;
    started = true;
}

void rulesTurn(long turn) {
    Reading r = scripted(turn);
    world.handleWebcamEvents(r.baryX1, vision::kMiddleRow, r.baryX2, vision::kMiddleRow, r.rps1,
                             r.rps2);
    world.update();
}

void countTurns(benchmark::State& state) {
    state.counters["turns_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Turn(benchmark::State& state) {
    start();
    long turn = 0;
    for (auto _ : state) {
        rulesTurn(turn++);
        world.display();
        SDL_GL_SwapBuffers();
    }
    countTurns(state);
}
BENCHMARK(BM_Turn)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Repetitions(5)->UseRealTime();

// The rules alone, for comparison: what a turn costs before anything is drawn.
void BM_RulesOnly(benchmark::State& state) {
    start();
    long turn = 0;
    for (auto _ : state) {
        rulesTurn(turn++);
        // The scene would advance the particles; keep their store bounded the same way.
        benchmark::DoNotOptimize(world.moves.moveParticles(world.frameStep));
        // Thousands of turns a second would fill every mixing channel with effects.
        Mix_HaltChannel(-1);
    }
    countTurns(state);
}
BENCHMARK(BM_RulesOnly)->Unit(benchmark::kMicrosecond)->Repetitions(5)->UseRealTime();

// The rules step alone on a world with no window, no sound and no drawing: what a replay check
// or a rollback pays per turn. Its events are dropped, as a re-run turn's are.
World& windowless() {
    static World* rules = nullptr;
    if (rules) return *rules;
    rules = new World;
    if (chdir(VORLAXIS_DATA_DIR) != 0 || !rules->moves.readMoves()) {
        std::fprintf(stderr, "bench_match: no keyframes in %s\n", VORLAXIS_DATA_DIR);
        std::exit(1);
    }
    rules->setStartValues();
    rules->timer = World::inputTimer;
    return *rules;
}

TurnInput scriptedRecord(long turn) {
    Reading r = scripted(turn);
    World& w = windowless();
    w.handleWebcamEvents(r.baryX1, vision::kMiddleRow, r.baryX2, vision::kMiddleRow, r.rps1,
                         r.rps2);
    return w;
}

void BM_RulesStep(benchmark::State& state) {
    World& w = windowless();
    std::vector<TurnInput> records;
    for (long t = 0; t < 240; ++t) records.push_back(scriptedRecord(t));
    long turn = 0;
    for (auto _ : state) {
        stepMatch(w, records[turn++ % 240]);
        w.events.clear();
    }
    countTurns(state);
}
BENCHMARK(BM_RulesStep)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// Keeping a turn for a rollback: a copy of the state and its hash.
void BM_StateCopyAndHash(benchmark::State& state) {
    World& w = windowless();
    for (long t = 0; t < 100; ++t) stepMatch(w, scriptedRecord(t));
    w.events.clear();
    for (auto _ : state) {
        MatchState kept = w.state();
        benchmark::DoNotOptimize(hashState(kept));
    }
}
BENCHMARK(BM_StateCopyAndHash)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
