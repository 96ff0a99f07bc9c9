#include "tools/roomclip/truth.h"

#include <cstdio>
#include <sstream>

namespace roomclip {

bool parseReadings(const std::string& text, std::vector<FrameReading>& out, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (line.rfind("frame ", 0) != 0) continue;
        std::istringstream in(line.substr(6));
        FrameReading f;
        char colon = 0;
        in >> f.frame >> colon;
        for (HalfReading& h : f.half) {
            int hand = 0;
            in >> hand >> h.x >> h.y >> h.sign;
            h.hand = hand != 0;
        }
        if (!in || colon != ':') {
            error = "line " + std::to_string(number) + " is not a frame's readings: " + line;
            return false;
        }
        for (HalfReading& h : f.half) in >> h.shape;
        out.push_back(f);
    }
    return true;
}

std::string formatTruth(const FrameReading& f) {
    char line[160];
    const HalfReading &a = f.half[0], &b = f.half[1];
    std::snprintf(line, sizeof line, "frame %d: %d %.1f %.1f %d %d %.1f %.1f %d %s %s", f.frame,
                  a.hand ? 1 : 0, a.x, a.y, a.sign, b.hand ? 1 : 0, b.x, b.y, b.sign,
                  a.shape.c_str(), b.shape.c_str());
    return line;
}

HalfReading emptyHalf(int player) {
    HalfReading h;
    h.x = player == 0 ? -160 : 0;
    h.shape = "none";
    return h;
}

}  // namespace roomclip
