#include "app/network/net_game.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>

#include "app/run/run.h"
#include "play/replay_format.h"
#include "app/run/run_failure.h"

net::Hello localHello(World& world) {
    net::Hello hello;
    hello.gameVersion = VORLAXIS_VERSION;
    hello.replayVersion = play::kReplayFormatVersion;
    hello.dataFingerprint = play::rulesDataFingerprint(world.rules());
    return hello;
}

int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace {

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void complain(const std::string& line) { reportFailure("vorlaxis: " + line); }

}  // namespace

bool NetGame::open(Options& options, World& world, uint64_t hostSeed) {
    net::Hello ours = localHello(world);
    std::string error;
    inputDelay_ = options.inputDelay;
    hosting_ = options.net == Options::Net::HOST;
    if (hosting_) {
        ours.seed = hostSeed;
        ours.matches = static_cast<uint32_t>(options.matches);
        ours.turnRate = static_cast<uint16_t>(options.turnRate);
        ours.endless = options.endless ? 1 : 0;
        ours.inputDelay = static_cast<uint8_t>(options.inputDelay);
        if (!handshake_.host(options.port, ours, error)) {
            complain("cannot open UDP port " + std::to_string(options.port) + ": " + error);
            return false;
        }
        say("waiting for a player on UDP port " + std::to_string(handshake_.port()) +
            " (Escape cancels)");
        return true;
    }
    if (!handshake_.join(options.joinAddress, options.port, ours, error)) {
        complain("cannot reach " + options.joinAddress + ": " + error);
        return false;
    }
    return true;
}

NetGame::Phase NetGame::connect(Options& options, World& world, int64_t nowMs) {
    switch (handshake_.step(nowMs)) {
    case net::Handshake::State::WAITING: return phase_;
    case net::Handshake::State::FAILED:
        failure_ = handshake_.failure();
        phase_ = Phase::ENDED;
        return phase_;
    case net::Handshake::State::CONNECTED: break;
    }
    net::Link link = handshake_.take();
    const net::Hello& host = link.welcome;
    if (!link.host) {
        options.seed = host.seed;
        options.seedGiven = true;
        options.matches = static_cast<int>(host.matches);
        options.endless = host.endless != 0;
        options.turnRate = host.turnRate;
    }
    // Written once: the screen shows it every turn.
    peerText_ = net::describe(link.peer);
    say((link.host ? "player 2 joined from " : "connected to ") + peerText_);
    // Both games start from the same state: the host's seed kept in the match state.
    world.random = host.seed;
    confirmed_ = world.state();
    rate_ = options.turnRate;
    startMs_ = lastMs_ = nowMs;
    match_ = std::make_unique<net::NetMatch>(std::move(link), world.state(), world.events,
                                             world.rules(), inputDelay_, rate_, nowMs);
    phase_ = Phase::PLAYING;
    return phase_;
}

// With --matches both sides end at the turn after the last match's ending.
void NetGame::onConfirmed(Run& run, const net::ConfirmedTurn& turn) {
    confirmed_ = *turn.after;
    run.confirm(turn.input, *turn.after);
    if (run.finished()) match_->finishAt(turn.turn + 1);
}

bool NetGame::ready(Run& run, int64_t nowMs) {
    if (phase_ != Phase::PLAYING || !match_->receive(nowMs)) return false;
    net::ConfirmedTurn turn;
    while (match_->nextConfirmed(turn)) onConfirmed(run, turn);
    return match_->mayPlay(nowMs);
}

void NetGame::play(const TurnInput& local) { match_->play(local); }

void NetGame::send(bool played, int64_t nowMs) {
    if (phase_ != Phase::PLAYING) return;
    match_->send(played, nowMs);
    if (played) lastMs_ = nowMs;
    if (match_->outcome() != net::NetMatch::Outcome::PLAYING) phase_ = Phase::ENDED;
}

void NetGame::leave() {
    left_ = true;
    if (match_ && phase_ == Phase::PLAYING)
        match_->leave();
    else
        phase_ = Phase::ENDED;
}

const std::string& NetGame::peerText() const { return match_ ? peerText_ : handshake_.peerName(); }

int NetGame::finish(const MatchLog* tally) {
    using Outcome = net::NetMatch::Outcome;
    if (!match_) {
        if (left_) return 0;  // the host gave up waiting
        complain(failure_);
        return 1;
    }
    if (left_) return 0;
    switch (match_->outcome()) {
    case Outcome::PLAYING:
    case Outcome::LEFT:
    case Outcome::FINISHED:
        if (tally) tally->printTally();
        return 0;
    case Outcome::PEER_LEFT:
        say("the other player left");
        keepFailure("the other player left");
        return 0;
    case Outcome::LOST:
        complain("lost the other player at " + peerText() + ": nothing received for " +
                 std::to_string(net::kLostMs / 1000) + " s");
        return 1;
    case Outcome::OUT_OF_SYNC:
        complain("out of sync at turn " + std::to_string(match_->outOfSyncTurn()));
        return 1;
    case Outcome::DIFFERENT: complain("the other game refused this one: they differ"); return 1;
    }
    return 1;
}

void NetGame::printStats() const {
    if (!match_) return;
    const net::NetStats stats = match_->stats();
    // From the first turn to the end of the last one played: the wait for the other side to
    // hold our last inputs is no turn of the match.
    const double seconds = (lastMs_ - startMs_) / 1000.0 + (rate_ > 0 ? 1.0 / rate_ : 0.0);
    const double rate = seconds > 0 ? stats.turns / seconds : 0.0;
    const double mean = stats.rollback.rollbacks > 0
                            ? double(stats.rollback.rolledTurns) / stats.rollback.rollbacks
                            : 0.0;
    std::printf("network: %" PRId64 " turns in %.1f s (%.1f turns/s), rollbacks %" PRId64
                " (mean %.1f turns, longest %d), stalls %" PRId64 " turns, dropped packets %" PRId64
                ", round trip %d ms\n",
                stats.turns, seconds, rate, stats.rollback.rollbacks, mean, stats.rollback.longest,
                stats.stalls, stats.dropped, stats.roundTripMs);
    std::fflush(stdout);
}
