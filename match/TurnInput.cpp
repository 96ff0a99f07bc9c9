#include "match/TurnInput.h"

void TurnInput::clearPlayer(int player) {
    if (player == 1)
        left1 = right1 = up1 = down1 = sign1 = 0;
    else
        left2 = right2 = up2 = down2 = sign2 = 0;
}

void TurnInput::takePlayer(int player, const TurnInput& from) {
    if (player == 1) {
        left1 = from.left1;
        right1 = from.right1;
        up1 = from.up1;
        down1 = from.down1;
        sign1 = from.sign1;
    } else {
        left2 = from.left2;
        right2 = from.right2;
        up2 = from.up2;
        down2 = from.down2;
        sign2 = from.sign2;
    }
}

namespace {

uint16_t packPlayer(int left, int right, int sign) {
    return static_cast<uint16_t>((left ? 1 : 0) | (right ? 2 : 0) | ((sign & 3) << 2));
}

}  // namespace

uint16_t TurnInput::pack() const {
    return static_cast<uint16_t>(packPlayer(left1, right1, sign1) |
                                 (packPlayer(left2, right2, sign2) << 4) | ((labels & 7) << 8) |
                                 ((cameraSwitch & 3) << 11));
}

TurnInput TurnInput::unpack(uint16_t bits) {
    TurnInput in;
    in.left1 = bits & 1;
    in.right1 = (bits >> 1) & 1;
    in.sign1 = (bits >> 2) & 3;
    in.left2 = (bits >> 4) & 1;
    in.right2 = (bits >> 5) & 1;
    in.sign2 = (bits >> 6) & 3;
    in.labels = (bits >> 8) & 7;
    in.cameraSwitch = (bits >> 11) & 3;
    return in;
}

bool TurnInput::packable(uint16_t bits) {
    constexpr uint16_t kParts = kPackedPlayer1 | kPackedPlayer2 | kPackedLabels | kPackedSwitch;
    return (bits & ~kParts) == 0 && (bits & kPackedSwitch) != kPackedSwitch;
}

bool TurnInput::operator==(const TurnInput& o) const {
    return left1 == o.left1 && right1 == o.right1 && up1 == o.up1 && down1 == o.down1 &&
           sign1 == o.sign1 && left2 == o.left2 && right2 == o.right2 && up2 == o.up2 &&
           down2 == o.down2 && sign2 == o.sign2 && labels == o.labels &&
           cameraSwitch == o.cameraSwitch;
}
