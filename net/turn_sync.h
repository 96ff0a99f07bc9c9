#pragma once
// Keeps the two games' turns in step: both run at the steady rate, but one started a little
// earlier and clocks drift. From the other side's last reported turn, the time since and half
// the round trip, each side estimates how many turns it runs ahead, and tells the other. Both
// estimates carry the same errors (the turn's wait before a packet is read, an uneven round
// trip), which half their difference cancels; once a second, the side ahead by most of a turn
// waits out that half difference, one turn at a time.
#include <cstdint>

namespace net {

class TurnSync {
public:
    explicit TurnSync(int rate) : rate_(rate) {}
    // Called once per turn of the pace; true when this one should be waited out.
    // `peerAdvantage`: the other side's own estimate, in turns.
    bool shouldWait(int64_t localTurn, int64_t peerTurn, int64_t heardAtMs, int roundTripMs,
                    double peerAdvantage, int64_t nowMs);
    // The mean advantage of the last full second, in turns (negative: behind).
    double advantage() const { return lastMean_; }

private:
    int rate_;
    double sum_ = 0;
    int samples_ = 0;
    int owed_ = 0;
    double lastMean_ = 0;
};

}  // namespace net
