#pragma once
// What the control panel's thread shows of a network match: published by the main thread
// once per turn, read by the worker when it draws the panel.
#include <atomic>
#include <cstdint>

#include "app/network/net_game.h"

struct NetReadout {
    enum State : int32_t { NONE, CONNECTING, PLAYING, ENDED };
    std::atomic<int32_t> state{NONE};
    std::atomic<int32_t> roundTripMs{-1};
    std::atomic<int32_t> inputDelay{0};
    std::atomic<int32_t> rollbacks{0};
    std::atomic<int32_t> longest{0};
    std::atomic<bool> quiet{false};
    // The other game's address, once the games have met: written before `peerReady` is set
    // with release order, never after.
    char peer[96] = {};
    std::atomic<bool> peerReady{false};
};

extern NetReadout netReadout;

// Main thread: after every turn of a network run.
void publishNetReadout(const NetGame& game, int64_t nowMs);
// Worker thread: the panel's network line, along its bottom edge (nothing without network).
void displayNetwork();
