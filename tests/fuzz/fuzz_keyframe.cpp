// One keyframe file through the reader: it must always come back, with entries of the
// lengths the move library relies on.
#include <cstdint>
#include <cstdlib>

#include "animation/filreader.h"
#include "tests/fuzz/fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzfiles::write("pose.txt", data, size);
    FileReader reader(path.c_str());
    const Model pose = reader.getAll();
    const size_t lengths[4] = {3, 2, 3, 9};
    if (pose.size() != 4) std::abort();
    for (int list = 0; list < 4; ++list)
        for (const std::vector<double>& entry : pose[list])
            if (entry.size() != lengths[list]) std::abort();
    return 0;
}
