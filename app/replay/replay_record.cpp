#include "app/replay/replay_record.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "app/replay/replay_files.h"
#include "app/run/run_failure.h"

namespace fs = std::filesystem;

namespace {

std::string sourceOf(const Options& options, const play::PlayerSource& side) {
    return options.replay.empty() ? play::describe(side) : "replay";
}

play::ReplayHeader headerOf(World& world, const Options& options) {
    play::ReplayHeader header;
    header.gameVersion = VORLAXIS_VERSION;
    header.dataFingerprint = play::rulesDataFingerprint(world.rules());
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

bool RunRecorder::create(const Options& options) {
    const bool kept = options.record.empty();
    if (kept && !keepsRun(options)) return true;
    const std::string path = kept ? keptPath() : options.record;
    if (path.empty()) return true;
    std::string error;
    if (!recorder_.create(path, error)) {
        if (kept) {
            keepingFails(path, error);
            return true;
        }
        reportFailure("vorlaxis: cannot record to " + path + ": " + error);
        return false;
    }
    keeping_ = kept;
    return true;
}

// Only once the run has started: a game that fails to start keeps no replay and drops none.
void RunRecorder::start(World& world, const Options& options) {
    if (!recorder_.recording()) return;
    recorder_.begin(headerOf(world, options), world.state());
    if (!keeping_) return;
    pruneKeptReplays(fs::path(recorder_.path()).parent_path().string(), kKeptReplays);
    std::printf("keeping this run's replay in %s\n", recorder_.path().c_str());
    std::fflush(stdout);
}

void RunRecorder::record(const TurnInput& input, const MatchState& after) {
    recorder_.recordTurn(input);
    recorder_.afterTurn(after);
}

void RunRecorder::finish(const MatchState& state) { recorder_.finish(state); }
