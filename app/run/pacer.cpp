#include "app/run/pacer.h"

#include <thread>

TurnPacer::TurnPacer(int rate)
    : rate_(rate),
      period_(rate > 0 ? std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / rate
                       : Clock::duration::zero()) {}

void TurnPacer::wait() {
    if (rate_ <= 0) return;
    const Clock::time_point now = Clock::now();
    if (!started_ || now - next_ > 4 * period_) {
        started_ = true;
        next_ = now + period_;
        return;
    }
    if (next_ > now) std::this_thread::sleep_until(next_);
    next_ += period_;
}
