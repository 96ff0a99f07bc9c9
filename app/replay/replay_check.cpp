#include "app/replay/replay_check.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

#include "app/run/run.h"
#include "play/replay_source.h"

namespace {

// The replay's records, up to the first turn whose checkpoint differs.
class CheckedRecords : public RecordSource {
public:
    explicit CheckedRecords(play::ReplaySource& source) : source_(source) {}
    bool take(World& world, TurnInput& input) override {
        return source_.nextTurn(world.state(), input) && source_.firstDifference() < 0;
    }

private:
    play::ReplaySource& source_;
};

// "1 match", "3 matches".
std::string matchesText(int matches) {
    return std::to_string(matches) + (matches == 1 ? " match" : " matches");
}

// What the recording's game version was, when it is not this one.
std::string versionNote(const play::ReplayHeader& header) {
    if (header.gameVersion == VORLAXIS_VERSION) return "";
    return " (recorded by vorlaxis " + header.gameVersion +
           "; this is vorlaxis " VORLAXIS_VERSION ")";
}

int fault(const std::string& shown, const std::string& problem) {
    std::fprintf(stderr, "replay %s: %s\n", shown.c_str(), problem.c_str());
    return 1;
}

int verdict(const std::string& shown, const play::ReplaySource& source,
            const play::ReplayReader& reader, const World& world) {
    const char* name = shown.c_str();
    if (source.firstDifference() >= 0) {
        std::printf("replay %s: differs from the recorded match at turn %" PRId64 "%s\n", name,
                    source.firstDifference(), versionNote(reader.header()).c_str());
        return 1;
    }
    if (source.damaged()) return fault(shown, reader.problem());
    std::printf("replay %s: %" PRId64 " turns, %s, %d checkpoints agree, final state %016" PRIx64
                "\n",
                name, source.turns(), matchesText(source.matches()).c_str(),
                source.checkpointsAgreed(), hashState(world.state()));
    if (source.cutShort())
        std::printf("replay %s: cut short: it ends after turn %" PRId64 "\n", name, source.turns());
    return 0;
}

}  // namespace

int checkReplay(const std::string& shown, const std::string& path) {
    play::ReplayReader reader;
    if (!reader.open(path)) return fault(shown, reader.problem());
    auto world = std::make_unique<World>();
    if (!world->moves.readMoves())
        return fault(shown, "cannot be checked: the game data is damaged");
    if (!play::sameRulesData(world->moves, reader.header()))
        return fault(shown, "was recorded with other game data" + versionNote(reader.header()));
    world->setStartValues();
    play::startAsRecorded(*world, reader.header());
    play::ReplaySource source(reader);
    CheckedRecords records(source);
    // Nothing of the run is recorded again, and its match lines are the replay's, not news.
    Run run(*world, Options(), nullptr);
    SteppedTurns turns(records);
    playWithoutWindow(run, *world, turns, false);
    std::fflush(stdout);
    return verdict(shown, source, reader, *world);
}
