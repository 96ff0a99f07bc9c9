// The clip script: settings and segments of frames, each giving both players' hands.
#pragma once

#include <string>
#include <vector>

namespace clipgen {

enum class Shape { None, Rock, Paper, Scissors };

// A hand during one segment: its shape and its centre at the first and the last frame, in
// the player's half (x from the half's left edge, y from the top).
struct Hand {
    Shape shape = Shape::None;
    double startX = 0, startY = 0;
    double endX = 0, endY = 0;
};

struct Segment {
    int frames = 0;
    Hand player1;  // right half of the picture
    Hand player2;  // left half
    int line = 0;  // where the segment was written, for messages
};

struct Script {
    int fps = 15;
    bool chroma444 = false;
    unsigned seed = 1;
    std::vector<Segment> segments;
    long totalFrames() const;
};

constexpr int kMaxFps = 120;
constexpr int kMaxFrames = 100000;
// How far outside its half a hand may start or end (it is cut at the half's edges).
constexpr int kMinCoord = -200;
constexpr int kMaxCoord = 400;

// Parses the script text. On failure returns false and `error` says where and why
// ("NAME:LINE: ...").
bool parseScript(const std::string& text, const std::string& name, Script& script,
                 std::string& error);

const char* shapeName(Shape shape);

}  // namespace clipgen
