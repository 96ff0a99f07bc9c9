#include "app/replay/replay_record.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "app/replay/replay_files.h"
#include "play/replay_recorder.h"

namespace fs = std::filesystem;

namespace {

play::ReplayRecorder recorder;
// Whether the run goes to the kept replays rather than a file the player named.
bool keeping = false;

std::string sourceOf(const Options& options, const play::PlayerSource& side) {
    return options.replay.empty() ? play::describe(side) : "replay";
}

play::ReplayHeader headerOf(World& world, const Options& options) {
    play::ReplayHeader header;
    header.gameVersion = VORLAXIS_VERSION;
    header.dataFingerprint = play::rulesDataFingerprint(world.moves);
    header.rulesRandom = world.random;
    header.turnRate = static_cast<uint16_t>(options.turnRate);
    header.endless = world.endless;
    header.seed = options.seed;
    header.source1 = sourceOf(options, options.player1);
    header.source2 = sourceOf(options, options.player2);
    return header;
}

void keepingFails(const std::string& where, const std::string& why) {
    std::fprintf(stderr, "vorlaxis: cannot keep a replay of this run in %s (%s); playing on\n",
                 where.c_str(), why.c_str());
}

// A new file in the kept replays' folder; empty, after the one warning, when there is none.
std::string keptPath() {
    const std::string folder = keptReplayFolder();
    if (folder.empty()) {
        keepingFails("the data folder", "neither XDG_DATA_HOME nor HOME is set");
        return "";
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        keepingFails(folder, error.message());
        return "";
    }
    return (fs::path(folder) / keptReplayName(std::time(nullptr), thisProcessId())).string();
}

// A played run is kept unless the player says otherwise; watching or checking a replay
// keeps nothing of its own.
bool keepsRun(const Options& options) {
    return !options.noRecord && options.replay.empty() && !options.simulate;
}

}  // namespace

bool createRecording(const Options& options) {
    const bool kept = options.record.empty();
    if (kept && !keepsRun(options)) return true;
    const std::string path = kept ? keptPath() : options.record;
    if (path.empty()) return true;
    std::string error;
    if (!recorder.create(path, error)) {
        if (kept) {
            keepingFails(path, error);
            return true;
        }
        std::fprintf(stderr, "vorlaxis: cannot record to %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    keeping = kept;
    return true;
}

// Only once the run has started: a game that fails to start keeps no replay and drops none.
void startRecording(World& world, const Options& options) {
    if (!recorder.recording()) return;
    recorder.begin(headerOf(world, options), world.state());
    if (!keeping) return;
    pruneKeptReplays(fs::path(recorder.path()).parent_path().string(), kKeptReplays);
    std::printf("keeping this run's replay in %s\n", recorder.path().c_str());
    std::fflush(stdout);
}

void recordInput(const TurnInput& input) { recorder.recordTurn(input); }

void recordAfterTurn(const MatchState& state) { recorder.afterTurn(state); }

void finishRecording(const MatchState& state) { recorder.finish(state); }
