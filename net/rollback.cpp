#include "net/rollback.h"

#include <algorithm>

namespace net {

uint16_t combineInputs(uint16_t host, uint16_t joiner) {
    const uint16_t hostSwitch = host & TurnInput::kPackedSwitch;
    const uint16_t cameraSwitch = hostSwitch ? hostSwitch : (joiner & TurnInput::kPackedSwitch);
    return static_cast<uint16_t>((host & TurnInput::kPackedPlayer1) |
                                 (joiner & TurnInput::kPackedPlayer2) |
                                 ((host | joiner) & TurnInput::kPackedLabels) | cameraSwitch);
}

Rollback::Rollback(MatchState& state, TurnEvents& events, const RulesData& rules, int localPlayer,
                   int inputDelay)
    : state_(state),
      events_(events),
      rules_(rules),
      localPlayer_(localPlayer),
      localKnown_(inputDelay) {}

bool Rollback::addRemote(int64_t t, uint16_t packed) {
    if (t < 0 || t >= remoteKnown_ + kRemoteWindow) return false;
    if (t < remoteKnown_ || remoteHeld_[slot(t)]) return true;
    remoteHeld_[slot(t)] = true;
    remote_[slot(t)] = packed;
    if (t < turn_ && used_[slot(t)] != packed && (firstWrong_ < 0 || t < firstWrong_))
        firstWrong_ = t;
    while (remoteHeld_[slot(remoteKnown_)]) {
        // The slot comes round again kInputRing turns later: free it for then.
        remoteHeld_[slot(remoteKnown_ + kInputRing - kRemoteWindow)] = false;
        ++remoteKnown_;
    }
    return true;
}

bool Rollback::canAdvance(int64_t peerAck) const {
    return turn_ - remoteKnown_ < kMaxRollback && localKnown_ + 1 - peerAck <= kInputRing / 2;
}

uint16_t Rollback::remoteFor(int64_t t) const {
    if (t < remoteKnown_ || remoteHeld_[slot(t)]) return remote_[slot(t)];
    return remoteKnown_ > 0 ? remote_[slot(remoteKnown_ - 1)] : 0;
}

TurnInput Rollback::recordFor(int64_t t) {
    const uint16_t remote = remoteFor(t);
    used_[slot(t)] = remote;
    return recordOf(local_[slot(t)], remote);
}

TurnInput Rollback::recordOf(uint16_t ours, uint16_t theirs) const {
    return TurnInput::unpack(localPlayer_ == 1 ? combineInputs(ours, theirs)
                                               : combineInputs(theirs, ours));
}

void Rollback::play(int64_t t) {
    before_[stateSlot(t)] = state_;
    stepMatch(state_, recordFor(t), rules_, events_);
}

void Rollback::settle() {
    if (firstWrong_ < 0) return;
    const int length = static_cast<int>(turn_ - firstWrong_);
    state_ = before_[stateSlot(firstWrong_)];
    for (int64_t t = firstWrong_; t < turn_; ++t) play(t);
    // Each re-run turn's events were set off when it was first played: keep none of them.
    events_.clear();
    firstWrong_ = -1;
    ++stats_.rollbacks;
    stats_.rolledTurns += length;
    stats_.longest = std::max(stats_.longest, length);
}

void Rollback::advance(const TurnInput& local) {
    settle();
    local_[slot(localKnown_)] = local.pack();
    ++localKnown_;
    play(turn_);
    ++turn_;
}

bool Rollback::nextConfirmed(ConfirmedTurn& out) {
    if (confirmed_ >= std::min(remoteKnown_, turn_)) return false;
    const int64_t t = confirmed_++;
    out.turn = t;
    out.input = recordOf(local_[slot(t)], remote_[slot(t)]);
    out.after = t + 1 < turn_ ? &before_[stateSlot(t + 1)] : &state_;
    return true;
}

}  // namespace net
