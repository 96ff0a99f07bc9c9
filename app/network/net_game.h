#pragma once
// A network match as the game runs it, with windows or without: finding the other game,
// taking the host's choices on the joiner, handing the confirmed turns (the same on both
// machines) to the run, ending the run where both end it and saying why it ended.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/config/options.h"
#include "match/World.h"
#include "net/handshake.h"
#include "net/net_match.h"

// Until the games meet (and the joiner knows the host's turn rate), the handshake is polled,
// and the scene drawn, at the steady rate.
constexpr int kConnectRate = 60;

class MatchLog;
class Run;

class NetGame {
public:
    enum class Phase { CONNECTING, PLAYING, ENDED };

    // Opens the socket: the host says it waits on its port, the joiner starts asking. `world`
    // holds the move library (the rules' data are part of what both games compare). False
    // after saying why.
    bool open(Options& options, World& world, uint64_t hostSeed);
    // One step of finding the other game. On meeting it, the joiner takes the host's seed,
    // matches, endless and turn rate into `options`; the match starts from `world` as it is.
    Phase connect(Options& options, World& world, int64_t nowMs);
    // One turn of the pace; true when a turn was played (its events in the world's list).
    // Each turn that became final goes to Run::confirm; once the run has finished its
    // matches, both sides stop at that turn.
    bool turn(const std::function<TurnInput()>& takeLocal, Run& run, int64_t nowMs);
    // Escape: the other side is told, and the run ends once both hold the same last turn (go
    // on calling turn() while the phase is PLAYING; what it asks for acts past the end).
    void leave();
    Phase phase() const { return phase_; }
    bool hosting() const { return hosting_; }
    // The port the host waits on.
    int port() const { return handshake_.port(); }
    // What to show: the other game's address, the round trip, the delay; whether it is quiet.
    const net::NetMatch* match() const { return match_.get(); }
    const std::string& peerText() const;
    // Says how the run ended and returns the exit code: 0 when the run finished or the other
    // player left, 1 when the other game was lost, out of sync or different. `tally`: the
    // run's closing line of matches won, for a run with no window.
    int finish(const MatchLog* tally);
    // The state after the last confirmed turn: where both games' recordings end.
    const MatchState& confirmedState() const { return confirmed_; }
    // "network: T turns in S s (R turns/s), rollbacks ..." on standard output.
    void printStats() const;

private:
    void onConfirmed(Run& run, int64_t t, const TurnInput& input, const MatchState& after);

    Phase phase_ = Phase::CONNECTING;
    int inputDelay_ = 2;
    int rate_ = 60;
    net::Handshake handshake_;
    std::unique_ptr<net::NetMatch> match_;
    MatchState confirmed_;
    std::string peerText_;
    bool left_ = false;
    bool hosting_ = false;
    std::string failure_;
    int64_t startMs_ = 0;
    // When the match started and when its last turn so far was played.
    int64_t lastMs_ = 0;
};

// What this game is, for the other game to compare: version, protocol, replay format and the
// rules' data read from `world`'s move library.
net::Hello localHello(World& world);
// Milliseconds of a steady clock.
int64_t steadyMs();
