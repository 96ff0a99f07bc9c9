#include "vision/room/HandShape.h"

#include <algorithm>
#include <cmath>

#include "vision/Picture.h"

namespace vision::room {

namespace {

constexpr float kPi = 3.14159265f;
// Fingertips lie at most this many palm radii from the palm's centre; a blob reaching further
// than that carries the forearm.
constexpr float kArmReach = 3.4f;
// The wrist lies this many palm radii from the palm's centre, towards the forearm.
constexpr float kWristCut = 1.25f;
// Around the forearm's direction (or straight down, where the hand hangs from) no finger is
// looked for: cos of half the angle left out.
constexpr float kArmSectorCos = 0.7f;
// The circles fingers are counted on, in palm radii.
constexpr float kFingerRadii[] = {1.6f, 1.9f, 2.2f, 2.5f};
// A finger's width, and the narrowest piece that counts as one, in palm radii.
constexpr float kFingerWidth = 0.5f;
constexpr float kNarrowest = 0.18f;
// A hand whose pixels all stay this close to the palm's centre is a fist.
constexpr float kFistReach = 1.55f;

}  // namespace

void HandShape::distanceTransform(const Patch& blob) {
    const int w = blob.width, h = blob.height;
    distance_.assign(static_cast<size_t>(w) * h, 0);
    auto at = [&](int x, int y) -> int {
        if (x < 0 || y < 0 || x >= w || y >= h) return 0;
        return distance_[static_cast<size_t>(y) * w + x];
    };
    constexpr int kFar = 60000;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!blob.at(x, y)) continue;
            const int d = std::min({at(x - 1, y) + 3, at(x, y - 1) + 3, at(x - 1, y - 1) + 4,
                                    at(x + 1, y - 1) + 4, kFar});
            distance_[static_cast<size_t>(y) * w + x] = static_cast<uint16_t>(d);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = w - 1; x >= 0; --x) {
            uint16_t& here = distance_[static_cast<size_t>(y) * w + x];
            if (!here) continue;
            const int d = std::min({static_cast<int>(here), at(x + 1, y) + 3, at(x, y + 1) + 3,
                                    at(x + 1, y + 1) + 4, at(x - 1, y + 1) + 4});
            here = static_cast<uint16_t>(d);
        }
    }
}

void HandShape::findPalm(const Patch& blob, HandFacts& facts) const {
    const uint16_t most = *std::max_element(distance_.begin(), distance_.end());
    double sx = 0, sy = 0, n = 0;
    for (int y = 0; y < blob.height; ++y) {
        for (int x = 0; x < blob.width; ++x) {
            if (distance_[static_cast<size_t>(y) * blob.width + x] != most) continue;
            sx += x;
            sy += y;
            n += 1;
        }
    }
    facts.palmRadius = most / 3.0f;
    facts.palmX = static_cast<float>(sx / n);
    facts.palmY = static_cast<float>(sy / n);
}

bool HandShape::findForearm(const Patch& blob, const HandFacts& facts, float& ax, float& ay) const {
    const float reach = kArmReach * facts.palmRadius;
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < blob.height; ++y) {
        for (int x = 0; x < blob.width; ++x) {
            if (!blob.at(x, y)) continue;
            const float dx = x - facts.palmX, dy = y - facts.palmY;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d <= reach) continue;
            sx += dx / d;
            sy += dy / d;
            ++n;
        }
    }
    const float fewest = std::max(6.0f, 0.5f * facts.palmRadius * facts.palmRadius);
    const double length = std::sqrt(sx * sx + sy * sy);
    if (n < fewest || length < 1e-6) {
        ax = 0;
        ay = 1;
        return false;
    }
    ax = static_cast<float>(sx / length);
    ay = static_cast<float>(sy / length);
    return true;
}

int HandShape::countFingersAt(const Patch& hand, const HandFacts& facts, float ax, float ay,
                              float radius) const {
    const int steps = std::max(24, static_cast<int>(2 * kPi * radius));
    const float arc = 2 * kPi * radius / steps;
    std::vector<uint8_t> on(static_cast<size_t>(steps), 0);
    for (int k = 0; k < steps; ++k) {
        const float angle = 2 * kPi * k / steps;
        const float cx = std::cos(angle), cy = std::sin(angle);
        if (cx * ax + cy * ay > kArmSectorCos) continue;
        const int x = static_cast<int>(std::lround(facts.palmX + radius * cx));
        const int y = static_cast<int>(std::lround(facts.palmY + radius * cy));
        on[static_cast<size_t>(k)] =
            x >= 0 && y >= 0 && x < hand.width && y < hand.height && hand.at(x, y);
    }
    // Runs around the circle, starting after a gap so that none is split in two.
    int start = 0;
    while (start < steps && on[static_cast<size_t>(start)]) ++start;
    if (start == steps) return 0;  // a solid ring: the palm itself, no fingers apart
    int fingers = 0, run = 0;
    const float width = kFingerWidth * facts.palmRadius;
    const float narrowest = kNarrowest * facts.palmRadius;
    for (int k = 1; k <= steps; ++k) {
        if (on[static_cast<size_t>((start + k) % steps)]) {
            ++run;
            continue;
        }
        const float length = run * arc;
        if (length >= narrowest)
            fingers += std::max(1, static_cast<int>(std::lround(length / width)));
        run = 0;
    }
    return fingers;
}

int HandShape::countFingers(const Patch& hand, const HandFacts& facts, float ax, float ay) const {
    std::vector<int> counts;
    for (float r : kFingerRadii)
        counts.push_back(countFingersAt(hand, facts, ax, ay, r * facts.palmRadius));
    std::sort(counts.begin(), counts.end());
    return counts[counts.size() / 2];
}

HandFacts HandShape::measure(const Patch& blob) {
    HandFacts facts;
    distanceTransform(blob);
    findPalm(blob, facts);
    float ax = 0, ay = 1;
    const bool forearm = findForearm(blob, facts, ax, ay);
    // The hand alone: everything beyond the wrist, along the forearm, goes.
    Patch hand = blob;
    const float cut = kWristCut * facts.palmRadius;
    const float fist = kFistReach * facts.palmRadius;
    float reach = 0;
    for (int y = 0; y < hand.height; ++y) {
        for (int x = 0; x < hand.width; ++x) {
            uint8_t& inside = hand.inside[static_cast<size_t>(y) * hand.width + x];
            if (!inside) continue;
            const float dx = x - facts.palmX, dy = y - facts.palmY;
            const float along = dx * ax + dy * ay;
            if (forearm && along > cut) {
                inside = 0;
                continue;
            }
            const float d = std::sqrt(dx * dx + dy * dy);
            if (along <= kArmSectorCos * d) reach = std::max(reach, d);
            const int64_t fx = hand.left + x, fy = hand.top + y;
            ++facts.count;
            facts.sumX += fx;
            facts.sumY += fy;
            facts.sumXX += fx * fx;
            facts.sumYY += fy * fy;
        }
    }
    facts.fingers = reach < fist ? 0 : countFingers(hand, facts, ax, ay);
    facts.sign = facts.fingers == 0 ? kRock : facts.fingers <= 2 ? kScissors : kPaper;
    facts.palmX += static_cast<float>(blob.left);
    facts.palmY += static_cast<float>(blob.top);
    return facts;
}

}  // namespace vision::room
