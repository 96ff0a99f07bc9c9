// Cost of following a replay: each turn's record read from the file's bytes, the rules and
// the referee stepped, every checkpoint's hash compared, set against the rules and referee
// stepped with the same records and nothing else. The ratio counter is the replay's speed as
// a share of the rules' alone. With VORLAXIS_BENCH_REPLAY set, the replay is also written to
// that file, to time a whole `--replay FILE --simulate` process on it.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "animation/moves.h"
#include "match/Judge.h"
#include "play/computer_players.h"
#include "play/replay_recorder.h"
#include "play/replay_source.h"

namespace {

constexpr int64_t kTurns = 600000;

using Clock = std::chrono::steady_clock;

// The match as the windowless runs step it: the state, its events and the moves' lengths.
struct Match : MatchState {
    TurnEvents events;
    RulesData data;
    const RulesData& rules() const { return data; }
    MatchState& state() { return *this; }
};

void stepMatch(Match& match, const TurnInput& input) {
    stepMatch(match, input, match.data, match.events);
}

Match& startedWorld(const play::ReplayHeader& header) {
    static Match* world = nullptr;
    if (!world) {
        world = new Match;
        Moves moves;
        if (chdir(VORLAXIS_DATA_DIR) != 0 || !moves.readMoves()) {
            std::fprintf(stderr, "bench_play: no keyframes in %s\n", VORLAXIS_DATA_DIR);
            std::exit(1);
        }
        world->data = moves.rulesData();
    }
    world->state() = MatchState();
    startMatch(*world);
    world->events.clear();
    play::startAsRecorded(*world, header);
    return *world;
}

// Walk in, trade signs at random, as two players would: knock-outs and rematches all along.
TurnInput fightRecord(std::mt19937& random, const MatchState& state) {
    TurnInput in;
    const bool close = state.posX2 - state.posX1 < 1.5f;
    in.right1 = !close && random() % 4 != 0;
    in.left2 = !close && random() % 4 != 0;
    in.sign1 = random() % 3 == 0 ? 1 + static_cast<int>(random() % 3) : 0;
    in.sign2 = random() % 3 == 0 ? 1 + static_cast<int>(random() % 3) : 0;
    return in;
}

struct Run {
    play::ReplayHeader header;
    std::vector<TurnInput> records;
    std::string bytes;
};

const Run& recordedRun() {
    static Run* run = nullptr;
    if (run) return *run;
    run = new Run;
    Match& world = startedWorld(run->header);
    run->header.gameVersion = "bench";
    run->header.dataFingerprint = play::rulesDataFingerprint(world.rules());
    const char* out = std::getenv("VORLAXIS_BENCH_REPLAY");
    const std::string path = out && *out ? out : "/tmp/bench_play-" + std::to_string(getpid());
    play::ReplayRecorder recorder;
    std::string error;
    if (!recorder.create(path, error)) std::exit(1);
    recorder.begin(run->header, world);
    std::mt19937 random(7);
    for (int64_t t = 0; t < kTurns; ++t) {
        run->records.push_back(fightRecord(random, world));
        recorder.recordTurn(run->records.back());
        stepMatch(world, run->records.back());
        world.events.clear();
        recorder.afterTurn(world);
    }
    recorder.finish(world);
    std::ifstream in(path, std::ios::binary);
    run->bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (!(out && *out)) std::remove(path.c_str());
    return *run;
}

double rulesSeconds(const Run& run) {
    Match& world = startedWorld(run.header);
    const auto start = Clock::now();
    for (const TurnInput& in : run.records) {
        stepMatch(world, in);
        world.events.clear();
    }
    benchmark::DoNotOptimize(world.turn);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double replaySeconds(const Run& run) {
    Match& world = startedWorld(run.header);
    const auto start = Clock::now();
    play::ReplayReader reader;
    if (!reader.openBytes(run.bytes)) std::exit(1);
    play::ReplaySource source(reader);
    TurnInput in;
    while (source.nextTurn(world, in)) {
        stepMatch(world, in);
        world.events.clear();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (source.firstDifference() >= 0 || source.turns() != kTurns) std::exit(1);
    return seconds;
}

void BM_ReplayCheck(benchmark::State& state) {
    const Run& run = recordedRun();
    double rules = 0, replay = 0;
    for (auto _ : state) {
        rules += rulesSeconds(run);
        replay += replaySeconds(run);
    }
    const double passes = static_cast<double>(state.iterations());
    state.counters["replay_turns_per_s"] = kTurns * passes / replay;
    state.counters["rules_turns_per_s"] = kTurns * passes / rules;
    state.counters["ratio"] = rules / replay;
}
BENCHMARK(BM_ReplayCheck)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);

// Cost of the computer fighter against the rules it plays: two computer fighters (hard and
// easy) fill each turn's record and the rules and the referee step, on a world with no window
// as --simulate runs it. The counters give each part's time per turn and the computer's cost
// as a share of the rules step's; the computer must stay well below the rules.
play::PlayerSource computer(play::Level level) {
    play::PlayerSource side;
    side.kind = play::PlayerSource::COMPUTER;
    side.level = level;
    return side;
}

void BM_ComputerAgainstComputer(benchmark::State& state) {
    Match& world = startedWorld(play::ReplayHeader());
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
