// Cost of the computer fighter against the rules it plays: two computer fighters (hard and
// easy) fill each turn's record and the rules and the referee step, on a world with no window
// as --simulate runs it. The counters give each part's time per turn and the computer's cost
// as a share of the rules step's; the computer must stay well below the rules.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "match/Referee.h"
#include "match/World.h"
#include "play/computer_players.h"

namespace {

using Clock = std::chrono::steady_clock;

World& windowless() {
    static World* rules = nullptr;
    if (rules) return *rules;
    rules = new World;
    if (chdir(VORLAXIS_DATA_DIR) != 0 || !rules->moves.readMoves()) {
        std::fprintf(stderr, "bench_play: no keyframes in %s\n", VORLAXIS_DATA_DIR);
        std::exit(1);
    }
    rules->setStartValues();
    return *rules;
}

play::PlayerSource computer(play::Level level) {
    play::PlayerSource side;
    side.kind = play::PlayerSource::COMPUTER;
    side.level = level;
    return side;
}

void BM_ComputerAgainstComputer(benchmark::State& state) {
    World& world = windowless();
    play::ComputerPlayers sides(computer(play::Level::HARD), computer(play::Level::EASY), 1);
    Clock::duration thinking{};
    Clock::duration stepping{};
    for (auto _ : state) {
        TurnInput input;
        const Clock::time_point start = Clock::now();
        sides.fill(world.state(), input);
        const Clock::time_point filled = Clock::now();
        stepMatch(world, input);
        stepping += Clock::now() - filled;
        thinking += filled - start;
        world.events.clear();
    }
    const double turns = static_cast<double>(state.iterations());
    const double computerNs = std::chrono::duration<double, std::nano>(thinking).count() / turns;
    const double rulesNs = std::chrono::duration<double, std::nano>(stepping).count() / turns;
    state.counters["computer_ns"] = computerNs;
    state.counters["rules_ns"] = rulesNs;
    state.counters["computer_to_rules"] = computerNs / rulesNs;
    state.counters["turns_per_s"] = benchmark::Counter(turns, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ComputerAgainstComputer)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
