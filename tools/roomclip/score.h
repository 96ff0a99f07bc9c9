// Scoring the game's readings of a clip against the clip's truth.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/roomclip/truth.h"

namespace roomclip {

// A hand counts as located when the reading says there is one within this many pixels of
// the centre of its own pixels.
constexpr double kLocatedWithin = 10.0;

struct Score {
    int hands = 0;               // halves that hold a hand
    int located = 0;             // of those, read as a hand within kLocatedWithin
    int signsRight = 0;          // of those, read with the right sign
    int empties = 0;             // halves without a hand
    int emptiesClear = 0;        // of those, read as holding no hand
    std::vector<double> errors;  // distance of every hand's reading from its truth
    // Per shape of the truth ("rock", "paper-flat", "scissors+blur", ...): hands, signs right.
    std::map<std::string, std::pair<int, int>> shapes;

    double locatedShare() const { return hands ? double(located) / hands : 0; }
    double signShare() const { return hands ? double(signsRight) / hands : 0; }
    double emptyShare() const { return empties ? double(emptiesClear) / empties : 0; }
    double medianError() const;
    void add(const Score& other);
};

// Scores the frames from `firstFrame` on (the frames after the calibration). False when the
// readings miss a frame the truth has.
bool scoreClip(const std::vector<FrameReading>& truth, const std::vector<FrameReading>& readings,
               int firstFrame, Score& out, std::string& error);

// The calibration's length in frames, from a truth file's header ("calibration frames N").
int calibrationFrames(const std::string& truthText);

struct TableRow {
    std::string condition;
    std::vector<Score> modes;  // one per column group
};

// A table with one row a condition and, per mode, the share of hands located, of empty
// halves read as empty and of signs right, and the median distance.
std::string formatTable(const std::vector<std::string>& modes, const std::vector<TableRow>& rows);

// The signs read right per shape, one row a shape, one column a mode.
std::string formatShapes(const std::vector<std::string>& modes, const std::vector<Score>& scores);

}  // namespace roomclip
