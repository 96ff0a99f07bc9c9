#include "play/replay_source.h"

namespace play {

bool sameRulesData(const animation::RulesData& rules, const ReplayHeader& header) {
    return rulesDataFingerprint(rules) == header.dataFingerprint;
}

void startAsRecorded(MatchState& state, const ReplayHeader& header) {
    state.endless = header.endless;
    state.random = header.rulesRandom;
}

bool ReplaySource::nextTurn(const MatchState& now, TurnInput& input) {
    if (end_ != ReplayItem::TURN) return false;
    for (;;) {
        const ReplayItem item = reader_.next();
        switch (item.kind) {
        case ReplayItem::TURN:
            input = item.input;
            ++turns_;
            return true;
        case ReplayItem::CHECKPOINT:
        case ReplayItem::MATCH_END: check(item, now); break;
        case ReplayItem::RUN_END:
            check(item, now);
            end_ = item.kind;
            return false;
        default: end_ = item.kind; return false;
        }
    }
}

void ReplaySource::check(const ReplayItem& item, const MatchState& now) {
    if (item.kind == ReplayItem::MATCH_END) {
        ++matches_;
        if (now.endingTurn != 1 || now.winner != item.winner) differs(item.turn);
        return;
    }
    if (hashState(now) != item.hash)
        differs(item.turn);
    else if (item.kind == ReplayItem::CHECKPOINT)
        ++agreed_;
}

void ReplaySource::differs(int64_t turn) {
    if (difference_ < 0) difference_ = turn;
}

}  // namespace play
