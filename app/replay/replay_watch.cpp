#include "app/replay/replay_watch.h"

#include <SDL/SDL.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/replay/replay_files.h"
#include "play/quit.h"
#include "play/replay_source.h"

namespace {

play::ReplayReader reader;
std::unique_ptr<play::ReplaySource> source;
// Read by the panel's worker thread too.
std::atomic<bool> paused{false};
std::atomic<bool> ended{false};
int exitCode = 0;
// The file's own name, for the panel, which has no room for folders.
std::string panelName;
bool differenceSaid = false;

const char* name() { return shownReplayName().c_str(); }

void takeKeys() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) play::requestQuit();
        if (event.type != SDL_KEYDOWN) continue;
        const SDLKey key = event.key.keysym.sym;
        if (key == SDLK_ESCAPE) play::requestQuit();
        if (key == SDLK_p || key == SDLK_SPACE) toggleReplayPause();
    }
}

// Once: the scene goes on from the replay's records, but no longer shows the recorded match.
void sayDifference() {
    if (differenceSaid || source->firstDifference() < 0) return;
    differenceSaid = true;
    std::fprintf(stderr,
                 "replay %s: differs from the recorded match at turn %" PRId64
                 "; what follows is not what was played\n",
                 name(), source->firstDifference());
}

void endReplay() {
    ended = true;
    sayDifference();
    if (source->damaged()) {
        std::fprintf(stderr, "replay %s: %s\n", name(), reader.problem().c_str());
        exitCode = 1;
    } else if (source->cutShort()) {
        std::printf("replay %s: cut short: it ends after turn %" PRId64 "\n", name(),
                    source->turns());
    }
    std::printf("replay %s: %" PRId64 " turns, %d matches watched\n", name(), source->turns(),
                source->matches());
    std::fflush(stdout);
    play::requestQuit();
}

}  // namespace

bool startWatching(Options& options) {
    if (!reader.open(options.replay)) {
        std::fprintf(stderr, "replay %s: %s\n", name(), reader.problem().c_str());
        return false;
    }
    Moves moves;
    if (!moves.readMoves()) return false;
    if (!play::sameRulesData(moves, reader.header())) {
        std::fprintf(stderr, "replay %s: was recorded with other game data\n", name());
        return false;
    }
    options.endless = reader.header().endless;
    options.turnRate = reader.header().turnRate;
    options.keyboard = true;  // the replay's records stand for every player: no camera
    panelName = std::filesystem::path(options.replay).filename().string();
    source = std::make_unique<play::ReplaySource>(reader);
    return true;
}

bool watching() { return source != nullptr; }

void startWatchedRun(World& world) { play::startAsRecorded(world, reader.header()); }

bool takeReplayInput(World& world) {
    takeKeys();
    if (paused || ended) return false;
    TurnInput& slots = world;
    if (source->nextTurn(world.state(), slots)) {
        sayDifference();
        return true;
    }
    endReplay();
    return false;
}

// Said on standard output too, with the turn, so that a pause can be found in the replay.
void toggleReplayPause() {
    if (ended) return;
    paused = !paused;
    std::printf("replay %s: %s at turn %" PRId64 "\n", name(), paused ? "paused" : "resumed",
                source->turns());
    std::fflush(stdout);
}

const char* watchedName() { return panelName.c_str(); }

const char* watchState() {
    if (ended) return "ended";
    return paused ? "paused" : "playing";
}

int watchExitCode() { return exitCode; }
