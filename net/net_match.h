#pragma once
// One network match, turn by turn at the steady pace: read what the other side sent, play
// again what it proved wrong, hand on the turns that became final, play the next turn with our
// input (unless the match must wait for the other side or keep in step with it), and send.
#include <cstdint>
#include <functional>

#include "match/World.h"
#include "net/handshake.h"
#include "net/rollback.h"
#include "net/session.h"
#include "net/turn_sync.h"

namespace net {

// After our last turn, how long we keep sending for the other side to have all of it.
constexpr int64_t kLingerMs = 2000;

struct NetStats {
    int64_t turns = 0;
    int64_t stalls = 0;
    RollbackStats rollback;
    int64_t dropped = 0;
    int roundTripMs = -1;
};

class NetMatch {
public:
    // How the match ended, once it has.
    enum class Outcome { PLAYING, FINISHED, PEER_LEFT, LOST, OUT_OF_SYNC, DIFFERENT };

    NetMatch(Link link, World& world, int inputDelay, int rate, int64_t nowMs);

    int localPlayer() const { return localPlayer_; }
    // One turn of the pace. `takeLocal` is asked for our input only when a turn is played;
    // `confirmed` sees each turn that became final, in order. True when a turn was played
    // (its events are in the world's list).
    bool turn(const std::function<TurnInput()>& takeLocal, const Rollback::Confirmed& confirmed,
              int64_t nowMs);
    // The run needs no turn past `turns`: no later turn is handed on, and the match ends once
    // the other side holds all our inputs up to there.
    void finishAt(int64_t turns);
    // We end the match (Escape): the other side is told.
    void leave();

    Outcome outcome() const { return outcome_; }
    // For OUT_OF_SYNC: the turn whose hashes differ.
    uint32_t outOfSyncTurn() const { return session_.endTurn(); }
    // Nothing has come from the other side for a second: the screen says so.
    bool quiet(int64_t nowMs) const { return session_.quietFor(nowMs) >= kQuietMs; }
    const Session& session() const { return session_; }
    NetStats stats() const;
    int inputDelay() const { return inputDelay_; }

private:
    bool mayPlay(int64_t nowMs);
    void checkEnd(int64_t nowMs);
    void handOn(const Rollback::Confirmed& confirmed);

    int localPlayer_;
    int inputDelay_;
    Session session_;
    Rollback rollback_;
    TurnSync sync_;
    Outcome outcome_ = Outcome::PLAYING;
    int64_t endTurns_ = -1;
    int64_t finishedAt_ = -1;
    int64_t stalls_ = 0;
};

}  // namespace net
