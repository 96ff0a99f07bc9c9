#pragma once
// The steady pace of the turns: every duration of the match is counted in turns, so the match
// runs at the same speed everywhere only if the turns do. A turn that took less than its share
// of the second sleeps for the rest; a machine that falls behind catches up by at most one turn
// at once, and one that falls far behind starts counting afresh rather than rushing.
#include <chrono>

class TurnPacer {
public:
    // rate: turns a second; 0 leaves the turns unpaced (as fast as the loop goes).
    explicit TurnPacer(int rate);
    int rate() const { return rate_; }
    // Sleeps until the next turn is due.
    void wait();

private:
    using Clock = std::chrono::steady_clock;
    int rate_;
    Clock::duration period_;
    Clock::time_point next_;
    bool started_ = false;
};
