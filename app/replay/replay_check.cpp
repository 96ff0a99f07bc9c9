#include "app/replay/replay_check.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

#include "match/Referee.h"
#include "play/replay_source.h"

namespace {

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
    std::printf("replay %s: %" PRId64
                " turns, %d matches, %d checkpoints agree, final state %016" PRIx64 "\n",
                name, source.turns(), source.matches(), source.checkpointsAgreed(),
                hashState(world.state()));
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
    TurnInput input;
    while (source.nextTurn(world->state(), input) && source.firstDifference() < 0) {
        stepMatch(*world, input);
        world->events.clear();
    }
    std::fflush(stdout);
    return verdict(shown, source, reader, *world);
}
