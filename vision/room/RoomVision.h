// The room recognition: hands read in a lit room, with faces and bodies in the picture, once
// it has been calibrated on the players themselves.
//
// Calibration takes two phases of frames: first the players stand in place with their hands
// down (the reference picture of the room and the people in it), then each holds an open palm
// with its centre on the mark of their half (the sample of their skin and the size of their
// hand). Each frame then gives, per player, the pixels that are both the player's skin and
// changed from the reference (after each channel's gain is corrected against it); the largest
// piece of hand size is the hand, its forearm cut off at the wrist, and its fingers the sign.
// The reference follows slow changes of the light where no hand is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vision/WebCam.h"
#include "vision/room/BlobFinder.h"
#include "vision/room/HandShape.h"
#include "vision/room/RoomLayout.h"
#include "vision/room/RoomReference.h"
#include "vision/room/SkinModel.h"

namespace vision::room {

// What one player's half holds.
struct RoomHand {
    bool found = false;
    HandFacts facts;
    // The hand's bounding box, frame coordinates, last row and column included.
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class RoomVision {
public:
    RoomVision();

    // The calibration frames: every frame of the first phase, then of the second.
    void addReference(const Image& frame);
    void addPalm(const Image& frame);
    // Fits each player's skin and hand size. A player whose palm was not found on the mark
    // reads no hand afterwards; `problem` then names who (empty when both were found). False
    // when a phase had no frame.
    bool calibrate(std::string& problem);
    // What `problem` says of one player whose palm was not found (0: player 1, 1: player 2).
    static std::string missedPalm(int player);
    bool calibrated() const { return calibrated_; }
    // Whether the calibration found this player's palm (0: player 1, 1: player 2).
    bool playerReady(int player) const { return skin_[player].valid(); }

    // Reads the frame and stores the readings in `cam` (the same conventions as the classic
    // recognition: an empty half gives its empty values), with handIn1 and handIn2.
    void read(const Image& frame, CWebCam& cam);
    const RoomHand& hand(int player) const { return hands_[player]; }
    // The last frame's mask: 1 where a pixel was a player's skin and changed from the room.
    const std::vector<uint8_t>& mask() const { return mask_; }
    // Paints that mask into `frame`: white where it is set, black elsewhere.
    void drawMask(Image& frame) const;

private:
    void markPixels(const Image& frame, const float gains[3]);
    void cleanMask();
    void closeMask();
    // A dilation (grow) or an erosion over squares `reach` pixels either side.
    template <bool grow>
    void spread(const std::vector<uint8_t>& from, std::vector<uint8_t>& to, int reach);
    RoomHand findHand(int player);
    RoomHand handNear(int player, int x, int y);
    // Clears the mask's pixels in the player's half that are not of the player's skin.
    void keepSkin(const Image& frame, int player);
    static RoomHand handOf(const Blob& blob, const HandFacts& facts);
    bool calibratePlayer(const Image& palms, int player);
    void markBusy();
    void store(CWebCam& cam) const;

    RoomReference reference_;
    SkinModel skin_[kPlayers];
    float handArea_[kPlayers] = {};
    float palmRadius_[kPlayers] = {};
    std::vector<uint32_t> palmSums_;
    int palmFrames_ = 0;
    bool calibrated_ = false;
    float changeThreshold_ = 0;

    // Per pixel: the mask before and after cleaning, where the reference itself shows skin
    // (faces, bare arms), and where hands were last seen.
    std::vector<uint8_t> raw_, mask_, referenceSkin_, busy_, swap_, work_;
    std::vector<int> columns_;
    BlobFinder blobs_;
    HandShape shape_;
    RoomHand hands_[kPlayers];
};

}  // namespace vision::room
