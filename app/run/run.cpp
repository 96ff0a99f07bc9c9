#include "app/run/run.h"

#include <cinttypes>

#include "app/config/run_seed.h"
#include "app/network/net_game.h"
#include "app/replay/replay_watch.h"
#include "sound/Son.h"

Run::Run(World& world, const Options& options, std::FILE* lines)
    : options(options), referee(world), log(lines), pacer(options.turnRate) {}

Run::~Run() = default;

void Run::confirm(const TurnInput& input, const MatchState& after) {
    recorder.record(input, after);
    log.afterTurn(after);
    if (turnLimit > 0 && log.underWay() && log.turnsOfMatch(after) > turnLimit) {
        std::fprintf(stderr, "vorlaxis: match %d has no knock-out after %" PRId64 " turns\n",
                     log.finished() + 1, turnLimit);
        overLimit_ = true;
    }
}

bool Run::finished() const {
    return options.matches > 0 && log.finished() >= options.matches && log.underWay();
}

void Run::chooseSeed(World& world, RecordSource& source) {
    const uint64_t seed = ::chooseSeed(options);
    announceSeed(options, seed);
    world.random = seed;
    options.seed = seed;
    source.start(options, seed);
}

void Run::setPaused(bool on) {
    if (on == paused_) return;
    paused_ = on;
    setMusicQuiet(on);
    if (watch) watch->sayPaused(on);
}
