#include "tools/roomclip/score.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace roomclip {

double Score::medianError() const {
    if (errors.empty()) return 0;
    std::vector<double> sorted(errors);
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

void Score::add(const Score& o) {
    hands += o.hands, located += o.located, signsRight += o.signsRight;
    empties += o.empties, emptiesClear += o.emptiesClear;
    errors.insert(errors.end(), o.errors.begin(), o.errors.end());
    for (const auto& [shape, counts] : o.shapes) {
        shapes[shape].first += counts.first;
        shapes[shape].second += counts.second;
    }
}

bool scoreClip(const std::vector<FrameReading>& truth, const std::vector<FrameReading>& readings,
               int firstFrame, Score& out, std::string& error) {
    std::map<int, const FrameReading*> byFrame;
    for (const FrameReading& r : readings) byFrame[r.frame] = &r;
    for (const FrameReading& t : truth) {
        if (t.frame < firstFrame) continue;
        const auto found = byFrame.find(t.frame);
        if (found == byFrame.end()) {
            error = "no readings for frame " + std::to_string(t.frame);
            return false;
        }
        for (int p = 0; p < 2; ++p) {
            const HalfReading &want = t.half[p], &got = found->second->half[p];
            if (!want.hand) {
                ++out.empties;
                out.emptiesClear += !got.hand;
                continue;
            }
            ++out.hands;
            const double distance = std::hypot(got.x - want.x, got.y - want.y);
            out.errors.push_back(got.hand ? distance : 1e3);
            out.located += got.hand && distance <= kLocatedWithin;
            out.signsRight += got.sign == want.sign;
            std::pair<int, int>& shape = out.shapes[want.shape.empty() ? "?" : want.shape];
            ++shape.first;
            shape.second += got.sign == want.sign;
        }
    }
    return true;
}

int calibrationFrames(const std::string& text) {
    const std::string key = "calibration frames ";
    const size_t at = text.find(key);
    return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + key.size());
}

namespace {

std::string percent(double share, int of) {
    char cell[32];
    if (of == 0) return "-";
    std::snprintf(cell, sizeof cell, "%5.1f%%", 100 * share);
    return cell;
}

}  // namespace

std::string formatTable(const std::vector<std::string>& modes, const std::vector<TableRow>& rows) {
    std::string out;
    char cell[96];
    std::snprintf(cell, sizeof cell, "%-10s", "");
    out += cell;
    for (const std::string& m : modes) {
        std::snprintf(cell, sizeof cell, " | %-39s", m.c_str());
        out += cell;
    }
    out += "\n";
    std::snprintf(cell, sizeof cell, "%-10s", "condition");
    out += cell;
    for (size_t i = 0; i < modes.size(); ++i) {
        std::snprintf(cell, sizeof cell, " | %6s %7s %6s %8s %8s", "hands", "<=10px", "median",
                      "empty ok", "signs ok");
        out += cell;
    }
    out += "\n";
    for (const TableRow& row : rows) {
        std::snprintf(cell, sizeof cell, "%-10s", row.condition.c_str());
        out += cell;
        for (const Score& s : row.modes) {
            std::snprintf(cell, sizeof cell, " | %6d %7s %6.1f %8s %8s", s.hands,
                          percent(s.locatedShare(), s.hands).c_str(), s.medianError(),
                          percent(s.emptyShare(), s.empties).c_str(),
                          percent(s.signShare(), s.hands).c_str());
            out += cell;
        }
        out += "\n";
    }
    return out;
}

std::string formatShapes(const std::vector<std::string>& modes, const std::vector<Score>& scores) {
    std::map<std::string, bool> names;
    for (const Score& s : scores)
        for (const auto& entry : s.shapes) names[entry.first] = true;
    char cell[64];
    std::snprintf(cell, sizeof cell, "%-20s", "signs right by shape");
    std::string out = cell;
    for (const std::string& m : modes) {
        std::snprintf(cell, sizeof cell, " | %-15s", m.c_str());
        out += cell;
    }
    out += "\n";
    for (const auto& entry : names) {
        std::snprintf(cell, sizeof cell, "%-20s", entry.first.c_str());
        out += cell;
        for (const Score& s : scores) {
            const auto found = s.shapes.find(entry.first);
            const std::pair<int, int> counts =
                found == s.shapes.end() ? std::make_pair(0, 0) : found->second;
            std::snprintf(
                cell, sizeof cell, " | %5d %7s", counts.first,
                percent(counts.first ? double(counts.second) / counts.first : 0, counts.first)
                    .c_str());
            out += cell;
        }
        out += "\n";
    }
    return out;
}

}  // namespace roomclip
