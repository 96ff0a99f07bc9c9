#pragma once
// The five HUD towers as one plain value: fixed stacks of stages that the match state copies,
// compares and hashes like any other field. A stage is its age in ticks, its opacity and the
// texture it shows.
#include <cstdint>
#include <vector>

#include "animation/codes.h"

namespace animation {

struct Stage {
    float age;
    float alpha;
    float texture;
};

// A stack of at most N stages, oldest first. A push onto a full stack drops the oldest stage
// first, so a stream of stages faster than the towers can show never overruns it.
template <int N>
struct StageStack {
    static constexpr int capacity = N;
    int32_t size = 0;
    Stage stages[N] = {};

    void push(const Stage& stage) {
        if (size == N) dropOldest(1);
        stages[size++] = stage;
    }
    // Every turn asks the towers to drop their stages that are too old, mostly none: a call
    // that drops nothing moves nothing.
    void dropOldest(int count) {
        if (count <= 0) return;
        if (count > size) count = size;
        for (int i = count; i < size; ++i) stages[i - count] = stages[i];
        size -= count;
    }
    void clear() { size = 0; }
};

// Room for every stage the rules can keep: a sign tower gains at most one stage a turn and
// drops a stage once it is 300 ticks old, a win tower never holds more than three after a
// tick, and the banner tower gives way one stage a tick.
struct Towers {
    StageStack<320> signs1;
    StageStack<320> signs2;
    StageStack<8> wins1;
    StageStack<8> wins2;
    StageStack<64> banner;

    // Towers kSignTower1 to kWinTower2 by number, the banner tower for any other value.
    void addStage(int tower, int texture);
    // One tick: old sign stages go, a fourth win collapses a win tower, the banner gives way.
    void moveTower(int step);
    std::vector<std::vector<float>> getTower(int tower) const;
    void clear();
};

}  // namespace animation
