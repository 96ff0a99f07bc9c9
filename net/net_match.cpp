#include "net/net_match.h"

namespace net {

NetMatch::NetMatch(Link link, MatchState& state, TurnEvents& events, const RulesData& rules,
                   int inputDelay, int rate, int64_t nowMs)
    : localPlayer_(link.host ? 1 : 2),
      inputDelay_(inputDelay),
      session_(std::move(link), nowMs),
      rollback_(state, events, rules, localPlayer_, inputDelay),
      sync_(rate) {}

bool NetMatch::receive(int64_t nowMs) {
    if (outcome_ != Outcome::PLAYING) return false;
    session_.receive(rollback_, nowMs);
    if (session_.peerEnd() >= 0) finishAt(session_.peerEnd());
    rollback_.settle();
    return true;
}

// A turn past the run's end is never handed on, though the rollback holds it as final.
bool NetMatch::nextConfirmed(ConfirmedTurn& out) {
    while (rollback_.nextConfirmed(out)) {
        if (endTurns_ >= 0 && out.turn >= endTurns_) continue;
        const uint32_t played = static_cast<uint32_t>(out.turn + 1);
        if (played % kCheckEvery == 0) session_.noteCheckpoint(played, hashState(*out.after));
        return true;
    }
    return false;
}

bool NetMatch::mayPlay(int64_t nowMs) {
    if (outcome_ != Outcome::PLAYING) return false;
    if (endTurns_ >= 0 && rollback_.turn() >= endTurns_) return false;
    if (!rollback_.canAdvance(session_.peerAck())) return false;
    return !sync_.shouldWait(rollback_.turn(), session_.peerTurn(), session_.heardAt(),
                             session_.roundTripMs(), session_.peerAdvantage(), nowMs);
}

void NetMatch::play(const TurnInput& local) { rollback_.advance(local); }

void NetMatch::send(bool played, int64_t nowMs) {
    if (outcome_ != Outcome::PLAYING) return;
    if (!played && (endTurns_ < 0 || rollback_.turn() < endTurns_)) ++stalls_;
    session_.send(rollback_, endTurns_, sync_.advantage(), nowMs);
    // Until the other side holds every turn to the end, each turn repeats where it is.
    if (leaving_) session_.sayGoodbye(Reason::LEFT, static_cast<uint32_t>(endTurns_), 1);
    checkEnd(nowMs);
}

void NetMatch::checkEnd(int64_t nowMs) {
    switch (session_.ending()) {
    case Session::Ending::DIFFERENT: outcome_ = Outcome::DIFFERENT; return;
    case Session::Ending::OUT_OF_SYNC:
        session_.sayGoodbye(Reason::OUT_OF_SYNC, session_.endTurn());
        outcome_ = Outcome::OUT_OF_SYNC;
        return;
    case Session::Ending::NONE: break;
    }
    if (session_.quietFor(nowMs) >= kLostMs) {
        outcome_ = Outcome::LOST;
        return;
    }
    if (endTurns_ < 0 || rollback_.confirmed() < endTurns_) return;
    // Every turn of the run is final here; the other side may still lack some of our inputs.
    if (finishedAt_ < 0) finishedAt_ = nowMs;
    if (session_.peerAck() >= endTurns_ || session_.peerFinished() ||
        nowMs - finishedAt_ >= kLingerMs) {
        session_.sayGoodbye(Reason::FINISHED, static_cast<uint32_t>(endTurns_));
        outcome_ = leaving_              ? Outcome::LEFT
                   : session_.peerLeft() ? Outcome::PEER_LEFT
                                         : Outcome::FINISHED;
    }
}

void NetMatch::finishAt(int64_t turns) {
    if (endTurns_ < 0 || turns < endTurns_) endTurns_ = turns;
}

// Our inputs already taken still act: the match ends after the last of them, on both sides.
void NetMatch::leave() {
    leaving_ = true;
    finishAt(rollback_.localKnown());
    session_.sayGoodbye(Reason::LEFT, static_cast<uint32_t>(endTurns_));
}

NetStats NetMatch::stats() const {
    NetStats out;
    out.turns = rollback_.turn();
    out.stalls = stalls_;
    out.rollback = rollback_.stats();
    out.dropped = session_.dropped();
    out.roundTripMs = session_.roundTripMs();
    return out;
}

}  // namespace net
