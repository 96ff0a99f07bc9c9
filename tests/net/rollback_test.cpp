// Two sides of a network match in one process, their inputs carried by a made-up link that
// delays, loses, duplicates and reorders: whatever the link does, both sides confirm the same
// turns, and those turns played again from the start give the same final state.
#include <gtest/gtest.h>

#include <unistd.h>

#include <deque>
#include <memory>
#include <random>
#include <vector>

#include "animation/moves.h"
#include "net/rollback.h"
#include "play/computer_players.h"

namespace {

struct LinkSettings {
    int delayTurns;
    int jitterTurns;
    int lossPercent;
};

// What one side sends each turn: its unacknowledged inputs and its acknowledgement.
struct Datagram {
    int64_t arrives;
    int64_t first;
    std::vector<uint16_t> inputs;
    int64_t ack;
};

// The move lengths from the data folder, read once.
const RulesData& rulesData() {
    static const RulesData rules = [] {
        Moves moves;
        EXPECT_TRUE(moves.readMoves());
        return moves.rulesData();
    }();
    return rules;
}

// A match state as a run starts it.
MatchState startState() {
    MatchState state;
    startMatch(state);
    state.random = 77;
    return state;
}

struct Side {
    MatchState state;
    TurnEvents events;
    std::unique_ptr<net::Rollback> rollback;
    std::unique_ptr<play::ComputerPlayers> computer;
    int64_t peerAck = 0;
    std::deque<Datagram> inbox;
    std::vector<TurnInput> confirmedInputs;
    uint64_t finalHash = 0;
};

class RollbackMatch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(chdir(VORLAXIS_DATA_DIR), 0); }

    void start(Side& side, int player) {
        side.state = startState();
        play::PlayerSource computer, network;
        computer.kind = play::PlayerSource::COMPUTER;
        network.kind = play::PlayerSource::NETWORK;
        side.computer = std::make_unique<play::ComputerPlayers>(
            player == 1 ? computer : network, player == 2 ? computer : network, 77);
        side.rollback =
            std::make_unique<net::Rollback>(side.state, side.events, rulesData(), player, 2);
    }

    void send(Side& from, Side& to, int64_t now, const LinkSettings& link) {
        if (int(random_() % 100) < link.lossPercent) return;
        Datagram d;
        d.arrives = now + link.delayTurns + int(random_() % (link.jitterTurns + 1));
        d.first = from.peerAck;
        for (int64_t t = from.peerAck; t < from.rollback->localKnown(); ++t)
            d.inputs.push_back(from.rollback->localInput(t));
        d.ack = from.rollback->remoteKnown();
        to.inbox.push_back(d);
    }

    static void receive(Side& side, int64_t now) {
        for (auto it = side.inbox.begin(); it != side.inbox.end();) {
            if (it->arrives > now) {
                ++it;
                continue;
            }
            for (size_t i = 0; i < it->inputs.size(); ++i)
                side.rollback->addRemote(it->first + int64_t(i), it->inputs[i]);
            side.peerAck = std::max(side.peerAck, it->ack);
            it = side.inbox.erase(it);
        }
    }

    static void turn(Side& side, int64_t lastTurn) {
        side.rollback->settle();
        net::ConfirmedTurn confirmed;
        while (side.rollback->nextConfirmed(confirmed)) {
            if (confirmed.turn >= lastTurn) continue;
            side.confirmedInputs.push_back(confirmed.input);
            side.finalHash = hashState(*confirmed.after);
        }
        if (side.rollback->turn() >= lastTurn || !side.rollback->canAdvance(side.peerAck)) return;
        TurnInput local;
        side.computer->fill(side.state, local);
        side.rollback->advance(local);
        side.events.clear();
    }

    // Plays until both sides confirmed `turns` turns (or a bound far past it).
    void play(const LinkSettings& link, int64_t turns) {
        start(host_, 1);
        start(joiner_, 2);
        for (int64_t now = 0; now < turns * 4; ++now) {
            receive(host_, now);
            receive(joiner_, now);
            turn(host_, turns);
            turn(joiner_, turns);
            send(host_, joiner_, now, link);
            send(joiner_, host_, now, link);
            if (int64_t(host_.confirmedInputs.size()) == turns &&
                int64_t(joiner_.confirmedInputs.size()) == turns)
                return;
        }
    }

    // The confirmed turns played again from the start, as a replay would.
    uint64_t replayed(const std::vector<TurnInput>& inputs) {
        MatchState state = startState();
        TurnEvents events;
        for (const TurnInput& input : inputs) stepMatch(state, input, rulesData(), events);
        return hashState(state);
    }

    std::mt19937 random_{2026};
    Side host_;
    Side joiner_;
};

TEST_F(RollbackMatch, BothSidesConfirmTheSameMatchOverABadLink) {
    const LinkSettings link = {6, 2, 10};  // about 200 ms each way, 10% loss
    const int64_t turns = 3000;
    play(link, turns);
    ASSERT_EQ(int64_t(host_.confirmedInputs.size()), turns);
    ASSERT_EQ(int64_t(joiner_.confirmedInputs.size()), turns);
    EXPECT_TRUE(host_.confirmedInputs == joiner_.confirmedInputs);
    EXPECT_EQ(host_.finalHash, joiner_.finalHash);
    EXPECT_EQ(replayed(host_.confirmedInputs), host_.finalHash);
    EXPECT_GT(host_.state.wins1 + host_.state.wins2, 0) << "the run must cross a knock-out";
    for (const Side* side : {&host_, &joiner_}) {
        const net::RollbackStats& stats = side->rollback->stats();
        EXPECT_GT(stats.rollbacks, 0) << "the link is slow enough to mispredict";
        EXPECT_LE(stats.longest, net::kMaxRollback);
    }
}

// The host's own slots come from the host's record, the joiner's from the joiner's, whatever
// either says of the other player.
TEST(CombineInputs, EachSideOwnsItsPlayersSlots) {
    TurnInput host, joiner;
    host.left1 = 1;
    host.sign1 = 2;
    host.sign2 = 3;  // not the host's to say
    host.labels = TurnInput::LABEL_WINS1;
    joiner.right2 = 1;
    joiner.sign2 = 1;
    joiner.right1 = 1;  // not the joiner's to say
    joiner.cameraSwitch = TurnInput::CAMERA_OFF;
    const TurnInput both = TurnInput::unpack(net::combineInputs(host.pack(), joiner.pack()));
    EXPECT_EQ(both.left1, 1);
    EXPECT_EQ(both.right1, 0);
    EXPECT_EQ(both.sign1, 2);
    EXPECT_EQ(both.right2, 1);
    EXPECT_EQ(both.sign2, 1);
    EXPECT_EQ(both.labels, TurnInput::LABEL_WINS1);
    EXPECT_EQ(both.cameraSwitch, TurnInput::CAMERA_OFF);
}

}  // namespace
