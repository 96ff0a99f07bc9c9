#include "match/World.h"

#include <cstdlib>

namespace {

// The dead zone either side of a half picture's middle column.
const long long deadZone = 15;
const double walkSpeed = 0.05;

bool isSign(int code) { return code >= World::ROCK && code <= World::SCISSORS; }

}  // namespace

void World::setInputs() { clearInput(); }

int World::checkInput(int player) { return (player == 1 ? sign1 : sign2) != NO_SIGN ? 1 : 0; }

float World::setSpeed(float, int forward, int backward) {
    return static_cast<float>(walkSpeed * forward - walkSpeed * backward);
}

// The picture is mirrored for the players: a hand right of the middle column is on the
// player's left. A half with no hand reads as a right request (its centre is 0 or -kHalfWidth).
void World::walkingInput(int baryX, int& left, int& right) {
    long long offset = static_cast<long long>(baryX) - vision::kHalfMiddleColumn;
    if (std::llabs(offset) < deadZone) return;
    if (offset > 0)
        left = 1;
    else
        right = 1;
}

// The hands' heights (baryY1, baryY2) do not steer the fighters.
void World::handleWebcamEvents(int baryX1, int, int baryX2, int, int rps1, int rps2) {
    setInputs();
    if (timer > inputTimer || !webcamOn) return;
    walkingInput(baryX1, left1, right1);
    walkingInput(baryX2, left2, right2);
    sign1 = isSign(rps1) ? rps1 : NO_SIGN;
    sign2 = isSign(rps2) ? rps2 : NO_SIGN;
}
