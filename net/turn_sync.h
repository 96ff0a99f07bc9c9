#pragma once
// Keeps the two games' turns in step: both run at the steady rate, but one started a little
// earlier and clocks drift. From the other side's last reported turn, the time since and half
// the round trip, each side estimates how many turns it runs ahead; once a second, the side
// ahead by a turn or more waits out the difference, one turn at a time.
#include <cstdint>

namespace net {

class TurnSync {
public:
    explicit TurnSync(int rate) : rate_(rate) {}
    // Called once per turn of the pace; true when this one should be waited out.
    bool shouldWait(int64_t localTurn, int64_t peerTurn, int64_t heardAtMs, int roundTripMs,
                    int64_t nowMs);
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
