#include "net/turn_sync.h"

#include <algorithm>

namespace net {

namespace {

// Waits owed at most per second: a large gap closes over a few seconds instead of freezing.
constexpr int kMostWaitsPerSecond = 8;
// Less than this is the estimate's own noise (the jitter of the link among it).
constexpr double kWaitFrom = 0.75;

}  // namespace

bool TurnSync::shouldWait(int64_t localTurn, int64_t peerTurn, int64_t heardAtMs, int roundTripMs,
                          double peerAdvantage, int64_t nowMs) {
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
    const double ahead = (lastMean_ - peerAdvantage) / 2;
    if (ahead >= kWaitFrom) owed_ = std::min(int(ahead + 0.5), kMostWaitsPerSecond);
    return false;
}

}  // namespace net
