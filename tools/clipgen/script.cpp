#include "tools/clipgen/script.h"

#include <sstream>

namespace clipgen {

long Script::totalFrames() const {
    long total = 0;
    for (const Segment& s : segments) total += s.frames;
    return total;
}

const char* shapeName(Shape shape) {
    switch (shape) {
    case Shape::Rock: return "rock";
    case Shape::Paper: return "paper";
    case Shape::Scissors: return "scissors";
    default: return "none";
    }
}

namespace {

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    std::string word;
    while (in >> word) out.push_back(word);
    return out;
}

// Whole decimal integer, optionally signed, within [low, high].
bool parseInt(const std::string& text, long low, long high, long& value) {
    if (text.empty() || text.size() > 10) return false;
    size_t used = 0;
    try {
        value = std::stol(text, &used);
    } catch (...) {
        return false;
    }
    return used == text.size() && value >= low && value <= high;
}

bool parseShape(const std::string& word, Shape& shape) {
    for (Shape s : {Shape::None, Shape::Rock, Shape::Paper, Shape::Scissors})
        if (word == shapeName(s)) {
            shape = s;
            return true;
        }
    return false;
}

// "x,y" into two coordinates.
bool parsePoint(const std::string& word, double& x, double& y) {
    const size_t comma = word.find(',');
    long a = 0, b = 0;
    if (comma == std::string::npos || !parseInt(word.substr(0, comma), kMinCoord, kMaxCoord, a) ||
        !parseInt(word.substr(comma + 1), kMinCoord, kMaxCoord, b))
        return false;
    x = static_cast<double>(a);
    y = static_cast<double>(b);
    return true;
}

bool parseHand(const std::vector<std::string>& w, Hand& hand, std::string& why) {
    if (w.empty() || !parseShape(w[0], hand.shape)) {
        why = "a hand is none, rock, paper or scissors, not '" +
              (w.empty() ? std::string() : w[0]) + "'";
        return false;
    }
    if (hand.shape == Shape::None) {
        if (w.size() == 1) return true;
        why = "'none' takes no position";
        return false;
    }
    const bool still = w.size() == 2;
    const bool moving = w.size() == 4 && w[2] == "->";
    if (!(still || moving) || !parsePoint(w[1], hand.startX, hand.startY)) {
        why = "expected '" + w[0] + " X,Y' or '" + w[0] + " X,Y -> X,Y' (whole numbers " +
              std::to_string(kMinCoord) + " to " + std::to_string(kMaxCoord) + ")";
        return false;
    }
    hand.endX = hand.startX;
    hand.endY = hand.startY;
    if (moving && !parsePoint(w[3], hand.endX, hand.endY)) {
        why = "the end position '" + w[3] + "' is not X,Y";
        return false;
    }
    return true;
}

bool parseSegment(const std::string& text, Segment& segment, std::string& why) {
    const size_t bar = text.find('|');
    if (bar == std::string::npos || text.find('|', bar + 1) != std::string::npos) {
        why = "a segment is 'FRAMES <player 1 hand> | <player 2 hand>'";
        return false;
    }
    std::vector<std::string> first = words(text.substr(0, bar));
    long frames = 0;
    if (first.empty() || !parseInt(first[0], 1, kMaxFrames, frames)) {
        why = "the frame count must be a whole number from 1 to " + std::to_string(kMaxFrames);
        return false;
    }
    segment.frames = static_cast<int>(frames);
    first.erase(first.begin());
    if (!parseHand(first, segment.player1, why)) {
        why = "player 1: " + why;
        return false;
    }
    if (!parseHand(words(text.substr(bar + 1)), segment.player2, why)) {
        why = "player 2: " + why;
        return false;
    }
    return true;
}

bool parseSetting(const std::vector<std::string>& w, bool seenSegment, Script& script,
                  std::string& why) {
    if (seenSegment) {
        why = "'" + w[0] + "' must come before the first segment";
        return false;
    }
    if (w.size() != 2) {
        why = "'" + w[0] + "' takes one value";
        return false;
    }
    long value = 0;
    if (w[0] == "fps") {
        if (!parseInt(w[1], 1, kMaxFps, value)) {
            why = "fps must be a whole number from 1 to " + std::to_string(kMaxFps);
            return false;
        }
        script.fps = static_cast<int>(value);
    } else if (w[0] == "colour") {
        if (w[1] != "420jpeg" && w[1] != "444") {
            why = "colour is 420jpeg or 444";
            return false;
        }
        script.chroma444 = w[1] == "444";
    } else {
        if (!parseInt(w[1], 0, 0x7fffffff, value)) {
            why = "seed must be a whole number from 0 to 2147483647";
            return false;
        }
        script.seed = static_cast<unsigned>(value);
    }
    return true;
}

bool parseLine(const std::string& text, Script& script, std::string& why) {
    const std::vector<std::string> w = words(text);
    if (w.empty()) return true;
    if (w[0] == "fps" || w[0] == "colour" || w[0] == "seed")
        return parseSetting(w, !script.segments.empty(), script, why);
    if (w[0][0] < '0' || w[0][0] > '9') {
        why = "unknown line '" + w[0] + "' (fps, colour, seed or a segment 'FRAMES hand | hand')";
        return false;
    }
    Segment segment;
    if (!parseSegment(text, segment, why)) return false;
    script.segments.push_back(segment);
    return true;
}

}  // namespace

bool parseScript(const std::string& text, const std::string& name, Script& script,
                 std::string& error) {
    script = Script{};
    std::istringstream in(text);
    std::string line;
    std::string why;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        if (!parseLine(line, script, why)) {
            error = name + ":" + std::to_string(number) + ": " + why;
            return false;
        }
        if (!script.segments.empty() && script.segments.back().line == 0)
            script.segments.back().line = number;
        if (script.totalFrames() > kMaxFrames) {
            error = name + ":" + std::to_string(number) + ": the clip would be longer than " +
                    std::to_string(kMaxFrames) + " frames";
            return false;
        }
    }
    if (script.segments.empty()) {
        error = name + ": no segment: nothing to draw";
        return false;
    }
    return true;
}

}  // namespace clipgen
