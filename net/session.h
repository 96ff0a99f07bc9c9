#pragma once
// The match's traffic once the two games have met: every turn one INPUTS packet each way with
// all of our inputs the other side has not acknowledged, and everything that arrives checked
// before it is used (size and kind by the packet reader; here the sender's address, the
// session token, the turn window). A packet that fails is dropped and counted. The state hashes
// of confirmed turns travel in the same packets and are compared on both sides.
#include <cstdint>
#include <string>

#include "net/handshake.h"
#include "net/packet.h"
#include "net/rollback.h"

namespace net {

// Silence after which the screen says it waits for the other player, and after which the
// match is lost.
constexpr int64_t kQuietMs = 1000;
constexpr int64_t kLostMs = 5000;
// Packets read in one turn at most: a flood waits in the system's buffer (and is dropped
// there) instead of holding up the match.
constexpr int kMostReadsPerTurn = 512;
constexpr int kGoodbyeCopies = 5;
// The state hashes travel for turns that are a multiple of this.
constexpr uint32_t kCheckEvery = 60;

class Session {
public:
    // How the other side ended the match at once (a player leaving ends it at a turn instead:
    // peerEnd).
    enum class Ending { NONE, OUT_OF_SYNC, DIFFERENT };

    Session(Link link, int64_t nowMs);

    // Reads what has arrived: the other side's inputs go to `rollback`.
    void receive(Rollback& rollback, int64_t nowMs);
    // Sends this turn's packet: our inputs from the oldest the other side lacks, none for
    // the turns from `end` on (-1: no end). `advantage`: how far we ran ahead of the other
    // side over the last second, in turns.
    void send(const Rollback& rollback, int64_t end, double advantage, int64_t nowMs);
    // The hash of our state after `turn` confirmed turns, to compare with the other side's.
    void noteCheckpoint(uint32_t turn, uint64_t hash);
    // Tells the other side the match ends at `turn`, or why it ends now. `copies`: a goodbye
    // that gets no answer goes several times.
    void sayGoodbye(Reason reason, uint32_t turn, int copies = kGoodbyeCopies);

    // How the other side ended the match, if it did.
    Ending ending() const { return ending_; }
    // For OUT_OF_SYNC: the turn whose hashes differ.
    uint32_t endTurn() const { return endTurn_; }
    // The other side said the match ends at turn peerEnd(): its run finished there (it has
    // every turn up to it) or its player left.
    bool peerFinished() const { return peerFinished_; }
    bool peerLeft() const { return peerLeft_; }
    int64_t peerEnd() const { return peerEnd_; }
    // It holds all of our inputs before this turn.
    int64_t peerAck() const { return peerAck_; }
    // The turn it was about to play when it last sent, and when that arrived.
    int64_t peerTurn() const { return peerTurn_; }
    int64_t heardAt() const { return heardAt_; }
    int64_t quietFor(int64_t nowMs) const { return nowMs - heardAt_; }
    // Smoothed round trip in ms; -1 before the first measure.
    int roundTripMs() const { return roundTrip_; }
    // How far the other side says it ran ahead of us, in turns.
    double peerAdvantage() const { return peerAdvantage_; }
    int64_t dropped() const { return dropped_; }
    const Address& peer() const { return link_.peer; }
    const Hello& welcome() const { return link_.welcome; }

private:
    bool fromPeer(const Address& from, const Packet& packet);
    void onInputs(const Inputs& in, Rollback& rollback, int64_t nowMs);
    void onGoodbye(const Goodbye& goodbye);
    void compareHashes();
    // The session's token, chosen by the host: every packet of the match carries it.
    uint32_t token() const { return link_.welcome.session; }

    static constexpr int kCheckpoints = 8;

    Link link_;
    int64_t start_;
    int64_t heardAt_;
    int64_t peerAck_ = 0;
    int64_t peerTurn_ = 0;
    uint32_t echo_ = 0;
    int64_t echoAt_ = 0;
    int roundTrip_ = -1;
    double peerAdvantage_ = 0;
    int64_t dropped_ = 0;
    Ending ending_ = Ending::NONE;
    uint32_t endTurn_ = 0;
    bool peerFinished_ = false;
    bool peerLeft_ = false;
    int64_t peerEnd_ = -1;
    uint32_t ourTurns_[kCheckpoints] = {};
    uint64_t ourHashes_[kCheckpoints] = {};
    int newest_ = -1;
    uint32_t theirTurn_ = 0;
    uint64_t theirHash_ = 0;
};

}  // namespace net
