// What each frame of a clip really shows, and the game's readings of it, as text lines:
//
//   frame N: H1 X1 Y1 S1 H2 X2 Y2 S2
//
// per half (player 1, the right half, first): H 1 when the half holds a hand, the centre of
// the hand's own pixels (wrist to fingertips, forearm excluded; X1 counted from column 160,
// X2 the frame column, Y the row) and the sign (1 rock, 2 paper, 3 scissors; 0 with no
// hand). The truth files give the centre to a tenth of a pixel and add the shape's name
// after the numbers ("paper-flat"); '#' starts a comment.
#pragma once

#include <string>
#include <vector>

namespace roomclip {

struct HalfReading {
    bool hand = false;
    double x = 0, y = 0;
    int sign = 0;
    std::string shape;  // truth only
};

struct FrameReading {
    int frame = -1;
    HalfReading half[2];  // player 1, player 2
};

// Parses the lines that start with "frame"; others are skipped. False, with the line, on a
// malformed frame line.
bool parseReadings(const std::string& text, std::vector<FrameReading>& out, std::string& error);

std::string formatTruth(const FrameReading& frame);

// The values an empty half reads as: player 1 x -160, y 0; player 2 x 0, y 0.
HalfReading emptyHalf(int player);

}  // namespace roomclip
