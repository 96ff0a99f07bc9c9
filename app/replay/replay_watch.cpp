#include "app/replay/replay_watch.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "app/panel/panel_feed.h"
#include "play/quit.h"
#include "app/run/run_failure.h"

const char* ReplayWatch::name() const { return name_.c_str(); }

// Once: the scene goes on from the replay's records, but no longer shows the recorded match.
void ReplayWatch::sayDifference() {
    if (differenceSaid_ || source_->firstDifference() < 0) return;
    differenceSaid_ = true;
    std::fprintf(stderr,
                 "replay %s: differs from the recorded match at turn %" PRId64
                 "; what follows is not what was played\n",
                 name(), source_->firstDifference());
}

void ReplayWatch::end() {
    ended_ = true;
    publishReplay(PanelFeed::REPLAY_ENDED);
    sayDifference();
    if (source_->damaged()) {
        reportFailure(std::string("replay ") + name() + ": " + reader_.problem());
        exitCode_ = 1;
    } else if (source_->cutShort()) {
        std::printf("replay %s: cut short: it ends after turn %" PRId64 "\n", name(),
                    source_->turns());
    }
    std::printf("replay %s: %" PRId64 " turns, %d matches watched\n", name(), source_->turns(),
                source_->matches());
    std::fflush(stdout);
    play::requestQuit();
}

bool ReplayWatch::open(Options& options) {
    name_ = options.replayShown;
    if (!reader_.open(options.replay)) {
        reportFailure(std::string("replay ") + name() + ": " + reader_.problem());
        return false;
    }
    Moves moves;
    if (!moves.readMoves()) return false;
    if (!play::sameRulesData(moves.rulesData(), reader_.header())) {
        reportFailure(std::string("replay ") + name() + ": was recorded with other game data");
        return false;
    }
    options.endless = reader_.header().endless;
    options.turnRate = reader_.header().turnRate;
    options.keyboard = true;  // the replay's records stand for every player: no camera
    publishReplayName(std::filesystem::path(options.replay).filename().string().c_str());
    publishReplay(PanelFeed::REPLAY_PLAYING);
    source_ = std::make_unique<play::ReplaySource>(reader_);
    return true;
}

void ReplayWatch::startRun(World& world) { play::startAsRecorded(world, reader_.header()); }

bool ReplayWatch::take(World& world, TurnInput& input) {
    if (ended_) return false;
    if (source_->nextTurn(world.state(), input)) {
        sayDifference();
        return true;
    }
    end();
    return false;
}

// Said on standard output too, with the turn, so that a pause can be found in the replay.
void ReplayWatch::sayPaused(bool paused) {
    if (ended_) return;
    publishReplay(paused ? PanelFeed::REPLAY_PAUSED : PanelFeed::REPLAY_PLAYING);
    std::printf("replay %s: %s at turn %" PRId64 "\n", name(), paused ? "paused" : "resumed",
                source_->turns());
    std::fflush(stdout);
}
