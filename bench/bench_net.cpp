// Cost of what a network match adds to a turn: the longest rollback (the state of eight turns
// ago restored and the eight turns played again) and the reading of a full input packet. A
// turn lasts 16.7 ms at the steady 60 a second; the rollback must fit in a small part of it.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "animation/moves.h"
#include "net/packet.h"
#include "net/rollback.h"

namespace {

const RulesData& rulesData() {
    static Moves moves;
    static bool read = false;
    if (!read) {
        if (chdir(VORLAXIS_DATA_DIR) != 0 || !moves.readMoves()) {
            std::fprintf(stderr, "bench_net: no data folder %s\n", VORLAXIS_DATA_DIR);
            std::exit(1);
        }
        read = true;
    }
    return moves.rulesData();
}

// Both players walk in and trade signs: the turns a rollback plays again are busy ones.
TurnInput busy(int64_t turn) {
    TurnInput input;
    input.right1 = turn % 40 < 30;
    input.left2 = turn % 40 < 30;
    input.sign1 = turn % 24 == 0 ? 1 + int(turn / 24) % 3 : 0;
    input.sign2 = turn % 24 == 12 ? 1 + int(turn / 24) % 3 : 0;
    return input;
}

void BM_LongestRollback(benchmark::State& state) {
    MatchState match;
    startMatch(match);
    TurnEvents events;
    net::Rollback rollback(match, events, rulesData(), 1, 0);
    int64_t remote = 0;
    int64_t timedTurns = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The other side's inputs arrive up to now, then eight turns are played on predictions.
        for (; remote < rollback.turn(); ++remote) rollback.addRemote(remote, busy(remote).pack());
        for (int i = 0; i < net::kMaxRollback; ++i) rollback.advance(busy(rollback.turn()));
        // Its input of the oldest of them was another.
        rollback.addRemote(remote, static_cast<uint16_t>(busy(remote).pack() ^ 0x10));
        ++remote;
        events.clear();
        const int64_t before = rollback.stats().rolledTurns;
        state.ResumeTiming();
        rollback.settle();
        state.PauseTiming();
        timedTurns += rollback.stats().rolledTurns - before;
        state.ResumeTiming();
    }
    // Turns played again per timed pass: eight when every pass rolled back all the way.
    state.counters["turns"] = double(timedTurns) / double(state.iterations());
}
BENCHMARK(BM_LongestRollback)->Unit(benchmark::kMicrosecond);

void BM_ReadFullInputPacket(benchmark::State& state) {
    net::Inputs inputs;
    inputs.count = net::kMaxInputsPerPacket;
    for (int i = 0; i < inputs.count; ++i) inputs.inputs[i] = busy(i).pack();
    const std::string bytes = net::encodeInputs(inputs);
    net::Packet packet;
    for (auto _ : state) {
        const bool ok =
            net::decodePacket(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), packet);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_ReadFullInputPacket);

}  // namespace

BENCHMARK_MAIN();
