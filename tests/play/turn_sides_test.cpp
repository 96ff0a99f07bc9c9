// One door for a turn's input: a fresh record each turn, every source adding only its own
// sides. A camera side takes the camera's part, the computer's side its own fill, and neither
// reaches the other's slots; nothing is taken from the camera while the match refuses it.
#include <gtest/gtest.h>

#include "match/Rules.h"
#include "play/turn_sides.h"

namespace {

play::PlayerSource side(play::PlayerSource::Kind kind) {
    play::PlayerSource source;
    source.kind = kind;
    return source;
}

TEST(TurnSides, EachSourceAddsOnlyItsOwnSides) {
    const auto camera = side(play::PlayerSource::CAMERA);
    const auto computer = side(play::PlayerSource::COMPUTER);
    play::TurnSides sides;
    sides.start(camera, computer, 99);
    play::ComputerPlayers alone(camera, computer, 99);

    MatchState state;
    startMatch(state);
    state.timer = MatchState::inputTimer;
    // Both hands walk and show a sign: only player 1's half counts.
    const CameraReadings both{40, 0, 40, 0, MatchState::PAPER, MatchState::SCISSORS};
    for (int turn = 0; turn < 200; ++turn) {
        const TurnInput record = sides.take(state, both);
        TurnInput expected;
        expected.takePlayer(1, cameraInput(both));
        alone.fill(state, expected);
        ASSERT_EQ(record, expected) << "turn " << turn;
        ASSERT_EQ(record.sign1, MatchState::PAPER);
        ++state.turn;
    }

    // In the first turns of a match the camera adds nothing; the computer still plays.
    state.timer = 1000;
    TurnInput expected;
    alone.fill(state, expected);
    EXPECT_EQ(sides.take(state, both), expected);
    state.timer = MatchState::inputTimer;
    state.webcamOn = false;
    EXPECT_EQ(sides.take(state, both).sign1, MatchState::NO_SIGN);
}

}  // namespace
