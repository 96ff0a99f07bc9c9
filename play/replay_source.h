#pragma once
// A replay as an input source: hands out each turn's record from the file and, between
// turns, holds the state the rules reached against the marks the recording left there (the
// checkpoints' hashes, the ends of the matches, the final hash). Watching and checking a
// replay both follow it; what they do at the end or at a difference is theirs.
#include <cstdint>

#include "animation/rules_data.h"
#include "match/MatchState.h"
#include "match/TurnInput.h"
#include "play/replay_reader.h"

namespace play {

// Whether the rules would read the same data as when the replay was recorded.
bool sameRulesData(const animation::RulesData& rules, const ReplayHeader& header);
// Sets a state at the start of a run up as the recorded run was.
void startAsRecorded(MatchState& state, const ReplayHeader& header);

class ReplaySource {
public:
    explicit ReplaySource(ReplayReader& reader) : reader_(reader) {}

    // Reads on to the next turn's record, first holding `now` (the state after the turns
    // handed out so far) against the marks before it. False at the end of the file, its
    // damage or the end of the run.
    bool nextTurn(const MatchState& now, TurnInput& input);

    int64_t turns() const { return turns_; }
    int matches() const { return matches_; }
    int checkpointsAgreed() const { return agreed_; }
    // The turn after which the state first differed from the recording's; -1 while none did.
    int64_t firstDifference() const { return difference_; }
    // Whether the file ended before its end-of-run mark (then every whole turn was played).
    bool cutShort() const { return end_ == ReplayItem::CUT_SHORT; }
    bool damaged() const { return end_ == ReplayItem::DAMAGED; }

private:
    void differs(int64_t turn);
    void check(const ReplayItem& item, const MatchState& now);

    ReplayReader& reader_;
    int64_t turns_ = 0;
    int matches_ = 0;
    int agreed_ = 0;
    int64_t difference_ = -1;
    ReplayItem::Kind end_ = ReplayItem::TURN;
};

}  // namespace play
