// A replay file: its header, then every record to the end of the run, the end of the file or
// the first damage, followed as watching and checking follow it. Whatever the bytes, the
// reader ends after at most one record per two bytes, and a file it refuses or stops in says
// what is wrong.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "play/replay_source.h"
#include "tests/fuzz/fuzz_files.h"

namespace {

void follow(play::ReplayReader& reader, size_t size) {
    play::ReplaySource source(reader);
    const MatchState start;
    TurnInput input;
    size_t turns = 0;
    while (source.nextTurn(start, input)) {
        if (++turns > size / 2) std::abort();
        if (input.cameraSwitch > TurnInput::CAMERA_ON || input.sign1 > 3 || input.sign2 > 3)
            std::abort();
    }
    if (source.damaged() != !reader.problem().empty()) std::abort();
    if (source.damaged() && reader.problem().rfind("is damaged at byte ", 0) != 0) std::abort();
    if (source.turns() != static_cast<int64_t>(turns)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzfiles::write("run.vxr", data, size);
    play::ReplayReader fromFile;
    play::ReplayReader fromMemory;
    const bool opened = fromFile.open(path);
    if (opened != fromMemory.openBytes(std::string(reinterpret_cast<const char*>(data), size)))
        std::abort();
    if (!opened) {
        if (fromFile.problem().empty() || fromFile.problem() != fromMemory.problem()) std::abort();
        return 0;
    }
    follow(fromFile, size);
    follow(fromMemory, size);
    if (fromFile.problem() != fromMemory.problem()) std::abort();
    return 0;
}
