// What the rules take from a turn's record, and the camera's part of that record.
#include <cstdlib>

#include "match/MatchRules.h"

namespace {

// The dead zone either side of a half picture's middle column.
const long long deadZone = 15;
const double walkSpeed = 0.05;

bool isSign(int code) { return code >= MatchState::ROCK && code <= MatchState::SCISSORS; }

// The picture is mirrored for the players: a hand right of the middle column is on the
// player's left. A half with no hand reads as a right request (its centre is 0 or -kHalfWidth).
void walkingInput(int baryX, int& left, int& right) {
    long long offset = static_cast<long long>(baryX) - vision::kHalfMiddleColumn;
    if (std::llabs(offset) < deadZone) return;
    if (offset > 0)
        left = 1;
    else
        right = 1;
}

}  // namespace

TurnInput cameraInput(const CameraReadings& r) {
    TurnInput in;
    walkingInput(r.baryX1, in.left1, in.right1);
    walkingInput(r.baryX2, in.left2, in.right2);
    in.sign1 = isSign(r.rps1) ? r.rps1 : MatchState::NO_SIGN;
    in.sign2 = isSign(r.rps2) ? r.rps2 : MatchState::NO_SIGN;
    return in;
}

bool cameraCounts(const MatchState& state) {
    return state.timer <= MatchState::inputTimer && state.webcamOn;
}

int MatchRules::checkInput(int player) const {
    return (player == 1 ? in_.sign1 : in_.sign2) != MatchState::NO_SIGN ? 1 : 0;
}

float MatchRules::setSpeed(float, int forward, int backward) {
    return static_cast<float>(walkSpeed * forward - walkSpeed * backward);
}
