#include "tools/roomclip/script.h"

#include <fstream>
#include <sstream>

namespace roomclip {

namespace {

bool shapeNamed(const std::string& name, Shape& out) {
    static const std::pair<const char*, Shape> kNames[] = {{"none", Shape::None},
                                                           {"rock", Shape::Rock},
                                                           {"paper", Shape::PaperSpread},
                                                           {"paper-flat", Shape::PaperFlat},
                                                           {"scissors", Shape::Scissors}};
    for (const auto& [text, shape] : kNames)
        if (name == text) {
            out = shape;
            return true;
        }
    return false;
}

bool pointOf(const std::string& text, Point& out) {
    double x = 0, y = 0;
    char comma = 0, end = 0;
    std::istringstream in(text);
    if (!(in >> x >> comma >> y) || comma != ',' || (in >> end)) return false;
    out = {x, y};
    return x >= -200 && x <= 400 && y >= -200 && y <= 400;
}

bool handOf(const std::string& text, ScriptHand& out) {
    std::istringstream in(text);
    std::string shape, from, arrow, to, extra;
    in >> shape >> from >> arrow >> to >> extra;
    if (!shapeNamed(shape, out.shape)) return false;
    if (out.shape == Shape::None) return from.empty();
    if (!pointOf(from, out.from) || !extra.empty()) return false;
    if (arrow.empty()) {
        out.to = out.from;
        return true;
    }
    return arrow == "->" && pointOf(to, out.to);
}

bool segmentOf(const std::string& line, ScriptSegment& out) {
    const size_t bar = line.find('|');
    if (bar == std::string::npos) return false;
    std::istringstream in(line.substr(0, bar));
    std::string rest;
    if (!(in >> out.frames) || out.frames < 1 || out.frames > 100000) return false;
    std::getline(in, rest);
    return handOf(rest, out.player[0]) && handOf(line.substr(bar + 1), out.player[1]);
}

}  // namespace

bool readScript(const std::string& path, std::vector<ScriptSegment>& out, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read the script " + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        ScriptSegment segment;
        if (!segmentOf(line, segment)) {
            error = path + ":" + std::to_string(number) +
                    ": expected FRAMES HAND | HAND, a hand being none or SHAPE X,Y [-> X2,Y2]";
            return false;
        }
        out.push_back(segment);
    }
    if (out.empty()) error = path + ": no segment";
    return !out.empty();
}

}  // namespace roomclip
