// The capture windows' side door for tests: the clock that paces previews and clips.
#pragma once

#include <functional>

namespace camera {

// Seconds since an arbitrary start, steady. Null restores the real clock.
using CaptureClock = std::function<double()>;
void setCaptureClock(CaptureClock clock);

}  // namespace camera
