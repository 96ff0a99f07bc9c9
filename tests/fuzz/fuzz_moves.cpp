// The whole keyframe set: the input is cut at '#' into the 18 keyframe files (missing ones are
// left out). A set the move library accepts must blend and draw without leaving any list: every
// triangle corner of every pose it hands out names an existing vertex and normal.
// The set is read from the working directory, so this harness works in its temporary folder:
// give libFuzzer absolute paths.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "animation/moves.h"
#include "tests/fuzz/fuzz_files.h"

namespace {

bool names(double number, size_t count) { return number >= 1.0 && number < double(count) + 1.0; }

void checkDrawable(const Model& pose) {
    if (pose.size() != 4) std::abort();
    for (const std::vector<double>& triangle : pose[POLYGONS])
        for (int k = 0; k < 3; ++k)
            if (!names(triangle[3 * k], pose[VERTICES].size()) ||
                !names(triangle[3 * k + 2], pose[NORMALS].size()))
                std::abort();
}

// The names of the bad files on stderr would cost more than the reading: keep them quiet.
bool quietlyReadMoves(Moves& moves) {
    static const int null = open("/dev/null", O_WRONLY);
    std::fflush(stderr);
    const int saved = dup(2);
    dup2(null, 2);
    const bool loaded = moves.readMoves();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (chdir(fuzzfiles::folder().c_str()) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    static const std::vector<const char*> files = Moves::keyframeFiles();
    for (const char* name : files) {
        if (start > input.size()) {
            fuzzfiles::remove(name);
            continue;
        }
        size_t end = input.find('#', start);
        if (end == std::string::npos) end = input.size();
        const std::string part = input.substr(start, end - start);
        fuzzfiles::write(name, reinterpret_cast<const uint8_t*>(part.data()), part.size());
        start = end + 1;
    }
    Moves moves;
    const bool loaded = quietlyReadMoves(moves);
    for (int move = -1; move <= Moves::MOVE_COUNT; ++move) {
        // Before the start, on keyframes, between them and past the end of every move.
        for (int time : {-5, 0, 3, 13, 24, 30, 55, 100, 149, 200}) {
            const Model pose = moves.interpolate(move, time);
            if (loaded) checkDrawable(pose);
            const float reach = moves.interpolateDist(move, time);
            if (!(reach >= 0.0f && reach <= 30.0f)) std::abort();
        }
        if (moves.getMoveLength(move) < 0) std::abort();
    }
    return 0;
}
