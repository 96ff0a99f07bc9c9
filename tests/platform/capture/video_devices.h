// Whether this machine has a V4L2 device node: the tests of the missing-camera path skip
// where a real camera would be found first.
#pragma once

#include <glob.h>

namespace testclip {

inline bool anyVideoDevice() {
    glob_t found{};
    const bool any = ::glob("/dev/video*", 0, nullptr, &found) == 0 && found.gl_pathc > 0;
    ::globfree(&found);
    return any;
}

}  // namespace testclip
