#pragma once
// One network match, turn by turn at the steady pace. Each turn of the pace is, in order:
//   receive(now)                      what the other side sent; plays again what it proved wrong
//   while (nextConfirmed(turn)) ...   the turns that became final (record them, count them)
//   if (mayPlay(now)) play(local)     our next turn, with our input taken only then
//   send(played, now)                 what we hold, and whether the match has ended
// The match is played on a state it is lent (the game's own), with the scene-free rules.
#include <cstdint>

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
    enum class Outcome { PLAYING, FINISHED, LEFT, PEER_LEFT, LOST, OUT_OF_SYNC, DIFFERENT };

    // Plays on `state` with `rules`; the turns played add what they set off to `events`.
    NetMatch(Link link, MatchState& state, TurnEvents& events, const RulesData& rules,
             int inputDelay, int rate, int64_t nowMs);

    int localPlayer() const { return localPlayer_; }
    // Reads what the other side sent and plays again what it proved wrong. False once the
    // match has ended: the rest of the turn is then left out.
    bool receive(int64_t nowMs);
    // The next turn that became final, in order, up to the run's end (finishAt); false when
    // none is left. Call until false after receive().
    bool nextConfirmed(ConfirmedTurn& out);
    // Whether our next turn may be played now: not past the prediction limit, nor ahead of the
    // other side, nor past the run's end. Call once per turn of the pace (it keeps the two
    // games in step).
    bool mayPlay(int64_t nowMs);
    // Plays our next turn with our input; its events are added to the list.
    void play(const TurnInput& local);
    // Sends what we hold (counting a stall when no turn was played) and sees whether the match
    // has ended.
    void send(bool played, int64_t nowMs);
    // The run needs no turn past `turns`: no later turn is handed on, and the match ends once
    // the other side holds all our inputs up to there.
    void finishAt(int64_t turns);
    // We end the match (Escape): both sides stop after the last turn our inputs reach, and the
    // other side is told. Go on calling turn() until the outcome is LEFT.
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
    void checkEnd(int64_t nowMs);

    int localPlayer_;
    int inputDelay_;
    Session session_;
    Rollback rollback_;
    TurnSync sync_;
    Outcome outcome_ = Outcome::PLAYING;
    int64_t endTurns_ = -1;
    int64_t finishedAt_ = -1;
    int64_t stalls_ = 0;
    bool leaving_ = false;
};

}  // namespace net
