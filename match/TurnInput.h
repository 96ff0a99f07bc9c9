#pragma once
// What the two players do in one turn, and the few keys that act on the match: the one record
// that the input sources fill, each its own sides (camera, keyboard, gamepad, computer), or
// hand over whole (a replay, the network session), and the only thing the rules take from
// outside. Plain data; the slots keep the names the rules read.
#include <cstdint>

struct TurnInput {
    // The HUD label keys F, G and H: a test stage on player 1's and player 2's round-win
    // towers and on the banner tower.
    enum Label : int32_t { LABEL_WINS1 = 1, LABEL_WINS2 = 2, LABEL_BANNER = 4 };
    // F1 and F2: stop and start taking the camera's readings.
    enum CameraSwitch : int32_t { CAMERA_KEEP = 0, CAMERA_OFF = 1, CAMERA_ON = 2 };

    // Each player's input slots: walk left, walk right, the up and down keys (read by no
    // rule) and the sign (0 none, 1 rock, 2 paper, 3 scissors).
    int left1 = 0;
    int right1 = 0;
    int up1 = 0;
    int down1 = 0;
    int sign1 = 0;
    int left2 = 0;
    int right2 = 0;
    int up2 = 0;
    int down2 = 0;
    int sign2 = 0;
    int32_t labels = 0;
    int32_t cameraSwitch = CAMERA_KEEP;

    // Clears both players' slots and the keys.
    void clearInput() { *this = TurnInput(); }
    // Clears one player's part of the record (1, or any other value for player 2).
    void clearPlayer(int player);
    // One player's slots as `from` holds them; the other player's and the keys stay.
    void takePlayer(int player, const TurnInput& from);
    // The record in two bytes and back: per player left, right, sign (2 bits), then the label
    // keys and the camera switch. The up and down keys are not kept: no rule reads them.
    uint16_t pack() const;
    static TurnInput unpack(uint16_t bits);
    // Where pack() puts each part.
    static constexpr uint16_t kPackedPlayer1 = 0x000f;
    static constexpr uint16_t kPackedPlayer2 = 0x00f0;
    static constexpr uint16_t kPackedLabels = 0x0700;
    static constexpr uint16_t kPackedSwitch = 0x1800;
    // Whether `bits` is a word pack() can give: no bit outside the parts, and a camera switch
    // that is one of its values.
    static bool packable(uint16_t bits);
    bool operator==(const TurnInput& other) const;
    bool operator!=(const TurnInput& other) const { return !(*this == other); }
};
