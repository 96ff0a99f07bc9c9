#include "net/turn_sync.h"

#include <algorithm>

namespace net {

namespace {

// Waits owed at most per second: a large gap closes over a few seconds instead of freezing.
constexpr int kMostWaitsPerSecond = 8;

}  // namespace

bool TurnSync::shouldWait(int64_t localTurn, int64_t peerTurn, int64_t heardAtMs, int roundTripMs,
                          int64_t nowMs) {
    if (owed_ > 0) {
        --owed_;
        return true;
    }
    const double oneWay = roundTripMs > 0 ? roundTripMs / 2.0 : 0.0;
    const double peerNow = double(peerTurn) + (double(nowMs - heardAtMs) + oneWay) * rate_ / 1000.0;
    sum_ += double(localTurn) - peerNow;
    if (++samples_ < rate_) return false;
    lastMean_ = sum_ / samples_;
    sum_ = 0;
    samples_ = 0;
    if (lastMean_ >= 1.0) owed_ = std::min(int(lastMean_ + 0.5), kMostWaitsPerSecond);
    return false;
}

}  // namespace net
