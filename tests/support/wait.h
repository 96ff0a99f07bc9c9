// Waiting for what a test checks: poll until it holds or a deadline passes. Deadlines are
// generous because the sanitizer builds run on busy machines, where a first pass, a window or
// a repaint can come seconds later than on an idle one; a test that holds early returns early.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace testwait {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kPatienceSeconds = 120;  // instrumented builds run several times slower
#else
constexpr int kPatienceSeconds = 40;
#endif

// Calls `done` every `period` until it returns true (true) or `seconds` pass (false). The
// last call comes after the deadline, so a slow check is never cut short.
inline bool waitUntil(const std::function<bool()>& done, int seconds = kPatienceSeconds,
                      std::chrono::milliseconds period = std::chrono::milliseconds(50)) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) return true;
        std::this_thread::sleep_for(period);
    }
    return done();
}

}  // namespace testwait
