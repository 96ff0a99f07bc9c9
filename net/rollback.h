#pragma once
// The rollback of a network match: each side plays its own input after the input delay and
// the other side's as predicted (the last one it sent that has arrived), keeps the state before
// every recent turn, and when the real input of a past turn differs from the prediction,
// restores that turn's state and plays again to the present. Nothing here touches the network:
// the session feeds it the other side's inputs and sends what it holds of ours. It plays on a
// match state that it is lent, with the scene-free turn of the rules and the referee
// (stepMatch), so that a turn played again sets off nothing and draws nothing.
#include <cstdint>

#include "match/Judge.h"
#include "match/MatchState.h"
#include "match/TurnEvents.h"
#include "match/TurnInput.h"

namespace net {

// The longest run of turns played on predictions; past it the match waits for the other side.
constexpr int kMaxRollback = 8;
// Inputs kept of each side: ours until the other side holds them, theirs a window ahead.
constexpr int kInputRing = 256;
// How far past the last of its inputs we hold the other side's may reach.
constexpr int kRemoteWindow = 64;

// The turn's record from the two sides' own packed inputs: player 1's slots from the host's,
// player 2's from the joiner's, the label keys of both, the camera switch of the host unless
// it has none.
uint16_t combineInputs(uint16_t host, uint16_t joiner);

struct RollbackStats {
    int64_t rollbacks = 0;
    int64_t rolledTurns = 0;
    int longest = 0;
};

// A turn that became final: its number, the record the rules took and the state it left. The
// state is the rollback's own copy or the match's: read it before the next turn is played.
struct ConfirmedTurn {
    int64_t turn = 0;
    TurnInput input;
    const MatchState* after = nullptr;
};

class Rollback {
public:
    // Plays on `state` (the match as it stands), with the rules' constant data; what the
    // turns played set off is added to `events`. localPlayer: 1 for the host, 2 for the joiner.
    // The first `inputDelay` turns of each side have no input.
    Rollback(MatchState& state, TurnEvents& events, const RulesData& rules, int localPlayer,
             int inputDelay);

    // Turns played so far (the next turn's number).
    int64_t turn() const { return turn_; }
    // Our inputs are held for the turns before this one.
    int64_t localKnown() const { return localKnown_; }
    // Every input of the other side before this turn has arrived.
    int64_t remoteKnown() const { return remoteKnown_; }
    // Our packed input for turn t, for t in [localKnown() - kInputRing / 2, localKnown()).
    uint16_t localInput(int64_t t) const { return local_[slot(t)]; }
    // The other side's input for turn t. False when t lies outside what can be held (it is
    // dropped); an input already held is kept as it was.
    bool addRemote(int64_t t, uint16_t packed);
    // Whether the next turn may be played: not past kMaxRollback turns of prediction, and not
    // so far past what the other side acknowledged (`peerAck`) that our inputs would be lost.
    bool canAdvance(int64_t peerAck) const;
    // Plays again from the first turn whose prediction proved wrong; the events of the
    // turns played again are dropped, they were set off the first time.
    void settle();
    // Takes our input for the turn `inputDelay` turns ahead and plays the next turn; its
    // events are added to the list.
    void advance(const TurnInput& local);
    // The next turn that became final (after settle), in order; false when none is left.
    bool nextConfirmed(ConfirmedTurn& out);
    // Turns handed on by nextConfirmed so far.
    int64_t confirmed() const { return confirmed_; }
    const RollbackStats& stats() const { return stats_; }

private:
    static int slot(int64_t t) { return static_cast<int>(t % kInputRing); }
    static int stateSlot(int64_t t) { return static_cast<int>(t % kStates); }
    uint16_t remoteFor(int64_t t) const;
    TurnInput recordFor(int64_t t);
    // The turn's record from our packed input and the other side's.
    TurnInput recordOf(uint16_t ours, uint16_t theirs) const;
    void play(int64_t t);

    static constexpr int kStates = 2 * kMaxRollback + 4;

    MatchState& state_;
    TurnEvents& events_;
    const RulesData& rules_;
    int localPlayer_;
    int64_t turn_ = 0;
    int64_t localKnown_;
    int64_t remoteKnown_ = 0;
    int64_t firstWrong_ = -1;
    int64_t confirmed_ = 0;
    uint16_t local_[kInputRing] = {};
    uint16_t remote_[kInputRing] = {};
    bool remoteHeld_[kInputRing] = {};
    // The other side's input each recent turn was played with.
    uint16_t used_[kInputRing] = {};
    MatchState before_[kStates];
    RollbackStats stats_;
};

}  // namespace net
