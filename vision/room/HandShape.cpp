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
constexpr float kWristCut = 1.9f;
// Around the forearm's direction (or straight down, where the hand hangs from) no finger is
// looked for: cos of half the angle left out.
constexpr float kArmSectorCos = 0.7f;
// Fingers are looked for only where the direction from the palm is at least this far from
// the wrist's (as a cosine).
constexpr float kFingerSectorCos = 0.0f;
// The circles fingers are counted on, in palm radii.
constexpr float kFingerRadii[] = {1.6f, 1.8f, 2.0f, 2.2f, 2.4f};
// A finger's width, and the narrowest piece that counts as one, in palm radii.
constexpr float kFingerWidth = 0.5f;
constexpr float kNarrowest = 0.18f;
// A hand whose pixels all stay this close to the palm's centre is a fist.
// Gaps in a ring narrower than this, in palm radii, are closed.
constexpr float kShortGap = 0.15f;
// Places at least this share of the blob's greatest thickness may be the palm's centre.
constexpr float kPalmShare = 0.9f;
// A blob reaching this many calibrated palm radii above the palm found carries a forearm
// thicker than the hand beneath the hand; the palm is then looked for among the places at
// least this share of the calibrated palm's thickness.
constexpr float kAbovePalm = 4.0f;
constexpr float kCalibratedShare = 0.8f;
constexpr float kFistReach = 1.7f;
// A hand that short but at least this wide (in palm radii) is flat, not a fist: its fingers
// held together are as thick as the palm, so the palm was found among them.
constexpr float kFistWidth = 3.0f;
// The ratio of a hand's length to its width (the spreads along its principal axes) from
// which it is two fingers out rather than an open hand, and, for a hand whose fingers stand
// apart, from which those fingers are two in a V rather than more.
constexpr float kScissorsLength = 1.6f;
constexpr float kSpreadScissorsLength = 2.2f;
// How far out the fingers' breadth is measured (a share of the hand's reach from the palm's
// centre), and the breadth there, in palm radii, from which they are four held together:
// two fingers are about half of that.
constexpr float kFingersAt = 0.7f;
constexpr float kFlatCover = 1.2f;
// The width across a hand, in palm radii, from which it is paper when fingers cannot be
// told apart.
constexpr float kFlatWidth = 2.8f;

}  // namespace

void HandShape::distanceTransform(const Patch& blob) {
    const int w = blob.width, h = blob.height;
    width_ = w;
    height_ = h;
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

float HandShape::thicknessNear(int x, int y, int reach) const {
    uint16_t most = 0;
    for (int yy = std::max(0, y - reach); yy <= std::min(height_ - 1, y + reach); ++yy)
        for (int xx = std::max(0, x - reach); xx <= std::min(width_ - 1, x + reach); ++xx)
            most = std::max(most, distance_[static_cast<size_t>(yy) * width_ + xx]);
    return most / 3.0f;
}

// The palm is the blob's thickest part; a wrist or a forearm about as thick lies below it,
// so of the places at least `thickness` thick (in chamfer steps) the highest is taken.
void HandShape::findPalm(const Patch& blob, float thickness, HandFacts& facts) const {
    const uint16_t enough = static_cast<uint16_t>(thickness);
    for (int y = 0; y < blob.height; ++y) {
        uint16_t best = 0;
        double sx = 0, n = 0;
        for (int x = 0; x < blob.width; ++x) {
            const uint16_t d = distance_[static_cast<size_t>(y) * blob.width + x];
            if (d < enough || d < best) continue;
            if (d > best) sx = n = 0;
            best = d;
            sx += x;
            n += 1;
        }
        if (n == 0) continue;
        // Down this column the thickness may still grow: follow it to its top.
        int x = static_cast<int>(sx / n), yy = y;
        while (yy + 1 < blob.height && distance_[static_cast<size_t>(yy + 1) * blob.width + x] >
                                           distance_[static_cast<size_t>(yy) * blob.width + x])
            ++yy;
        facts.palmRadius = distance_[static_cast<size_t>(yy) * blob.width + x] / 3.0f;
        facts.palmX = static_cast<float>(x);
        facts.palmY = static_cast<float>(yy);
        return;
    }
}

// The mean direction from the palm's centre of the blob's pixels that `take` accepts (given
// the offset and the distance), and how many there were.
template <typename Take>
int meanDirection(const Patch& blob, const HandFacts& facts, Take take, float& ax, float& ay) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < blob.height; ++y) {
        for (int x = 0; x < blob.width; ++x) {
            if (!blob.at(x, y)) continue;
            const float dx = x - facts.palmX, dy = y - facts.palmY;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < 1e-3f || !take(dx, dy, d)) continue;
            sx += dx / d;
            sy += dy / d;
            ++n;
        }
    }
    const double length = std::sqrt(sx * sx + sy * sy);
    if (length < 1e-6) return 0;
    ax = static_cast<float>(sx / length);
    ay = static_cast<float>(sy / length);
    return n;
}

void HandShape::findWrist(const Patch& blob, const HandFacts& facts, float& ax, float& ay) const {
    const float r = facts.palmRadius;
    const float fewest = std::max(6.0f, 0.5f * r * r);
    ax = 0;
    ay = 1;
    const float reach = kArmReach * r;
    if (meanDirection(
            blob, facts, [&](float, float, float d) { return d > reach; }, ax, ay) >= fewest)
        return;
    // No forearm beyond the fingers' reach: the wrist, if any, hangs below the palm.
    const float wrist = kWristCut * r;
    float wx = 0, wy = 1;
    if (meanDirection(
            blob, facts,
            [&](float, float dy, float d) { return d > wrist && dy > kArmSectorCos * d; }, wx,
            wy) > 0) {
        ax = wx;
        ay = wy;
    }
}

float HandShape::sampleRing(const Patch& hand, const HandFacts& facts, float ax, float ay,
                            float radius, std::vector<uint8_t>& on) {
    const int steps = std::max(24, static_cast<int>(2 * kPi * radius));
    on.assign(static_cast<size_t>(steps), 0);
    for (int k = 0; k < steps; ++k) {
        const float angle = 2 * kPi * k / steps;
        const float cx = std::cos(angle), cy = std::sin(angle);
        if (cx * ax + cy * ay > kFingerSectorCos) continue;
        const int x = static_cast<int>(std::lround(facts.palmX + radius * cx));
        const int y = static_cast<int>(std::lround(facts.palmY + radius * cy));
        on[static_cast<size_t>(k)] =
            x >= 0 && y >= 0 && x < hand.width && y < hand.height && hand.at(x, y);
    }
    return 2 * kPi * radius / steps;
}

float HandShape::coverAt(const Patch& hand, const HandFacts& facts, float ax, float ay,
                         float radius) const {
    const float arc = sampleRing(hand, facts, ax, ay, radius, ring_);
    return arc * static_cast<float>(std::count(ring_.begin(), ring_.end(), 1));
}

int HandShape::countFingersAt(const Patch& hand, const HandFacts& facts, float ax, float ay,
                              float radius) const {
    std::vector<uint8_t>& on = ring_;
    const float arc = sampleRing(hand, facts, ax, ay, radius, on);
    const int steps = static_cast<int>(on.size());
    // Gaps narrower than a crease or a speck of noise do not part two fingers.
    const int shortGap = static_cast<int>(kShortGap * facts.scale / arc);
    for (int k = 0; k < steps; ++k) {
        if (on[static_cast<size_t>(k)] || !on[static_cast<size_t>((k + steps - 1) % steps)])
            continue;
        int gap = 0;
        while (gap < steps && !on[static_cast<size_t>((k + gap) % steps)]) ++gap;
        if (gap <= shortGap && gap < steps)
            for (int g = 0; g < gap; ++g) on[static_cast<size_t>((k + g) % steps)] = 2;
    }
    // Runs around the circle, starting after a gap so that none is split in two.
    int start = 0;
    while (start < steps && on[static_cast<size_t>(start)]) ++start;
    if (start == steps) return 0;  // a solid ring: the palm itself, no fingers apart
    int fingers = 0, run = 0;
    const float width = kFingerWidth * facts.scale;
    const float narrowest = kNarrowest * facts.scale;
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

// The count most of the circles agree on (the larger on a tie): one circle alone may cross
// a crease, or pass beyond the shorter fingers.
int HandShape::countFingers(const Patch& hand, const HandFacts& facts, float ax, float ay) const {
    int votes[16] = {};
    for (float r : kFingerRadii)
        ++votes[std::min(15, countFingersAt(hand, facts, ax, ay, r * facts.scale))];
    int best = 0;
    for (int n = 1; n < 16; ++n)
        if (votes[n] >= votes[best]) best = n;
    return best;
}

// A short hand is a fist, unless it is as wide as a flat hand. Three fingers or more apart are
// paper, unless the hand is as long and narrow as two fingers in a V. Then fingers that are
// broad where they leave the palm are an open hand held flat; narrower ones are two fingers out
// when the hand is long against its width, else the hand's width across tells.
int32_t HandShape::signOf(const HandFacts& facts, const Outline& outline) {
    const float across = outline.width / facts.scale;
    if (outline.reach < kFistReach * facts.scale) return across >= kFistWidth ? kPaper : kRock;
    if (facts.fingers >= 3 && outline.elongation < kSpreadScissorsLength) return kPaper;
    if (outline.fingersCover >= kFlatCover * facts.scale) return kPaper;
    if (outline.elongation >= kScissorsLength) return kScissors;
    return across >= kFlatWidth ? kPaper : kScissors;
}

// The ratio of the spreads of the hand's pixels along their principal axes (1: round).
float HandShape::elongationOf(const HandFacts& facts, double sumXY) {
    const double n = static_cast<double>(facts.count);
    if (n < 2) return 1;
    const double mx = facts.sumX / n, my = facts.sumY / n;
    const double xx = facts.sumXX / n - mx * mx, yy = facts.sumYY / n - my * my;
    const double xy = sumXY / n - mx * my;
    const double half = (xx + yy) / 2;
    const double apart = std::sqrt(std::max(0.0, half * half - (xx * yy - xy * xy)));
    const double least = half - apart;
    if (least <= 1e-9) return 1;
    return static_cast<float>(std::sqrt((half + apart) / least));
}

HandFacts HandShape::measure(const Patch& blob, float palmRadius) {
    HandFacts facts;
    distanceTransform(blob);
    const uint16_t most = *std::max_element(distance_.begin(), distance_.end());
    findPalm(blob, kPalmShare * most, facts);
    facts.scale = palmRadius > 0 ? palmRadius : facts.palmRadius;
    // Far more of the blob above the palm than fingers reach: that was a forearm thicker
    // than the hand (a bare arm held up); take the highest place about as thick as the
    // calibrated palm instead.
    if (palmRadius > 0 && facts.palmY > kAbovePalm * palmRadius)
        findPalm(blob, 3 * kCalibratedShare * palmRadius, facts);
    float ax = 0, ay = 1;
    findWrist(blob, facts, ax, ay);
    // The hand alone: everything beyond the wrist, along the forearm, goes.
    Patch hand = blob;
    const float cut = kWristCut * facts.palmRadius;
    float reach = 0, left = 0, right = 0;
    double sumXY = 0;
    for (int y = 0; y < hand.height; ++y) {
        for (int x = 0; x < hand.width; ++x) {
            uint8_t& inside = hand.inside[static_cast<size_t>(y) * hand.width + x];
            if (!inside) continue;
            const float dx = x - facts.palmX, dy = y - facts.palmY;
            const float along = dx * ax + dy * ay;
            if (along > cut) {
                inside = 0;
                continue;
            }
            const float d = std::sqrt(dx * dx + dy * dy);
            if (along <= kFingerSectorCos * d) reach = std::max(reach, d);
            const float across = dy * ax - dx * ay;
            left = std::min(left, across);
            right = std::max(right, across);
            const int64_t fx = hand.left + x, fy = hand.top + y;
            ++facts.count;
            facts.sumX += fx;
            facts.sumY += fy;
            facts.sumXX += fx * fx;
            facts.sumYY += fy * fy;
            sumXY += static_cast<double>(fx * fy);
        }
    }
    facts.fingers = countFingers(hand, facts, ax, ay);
    Outline outline;
    outline.reach = reach;
    outline.width = right - left + 1;
    outline.elongation = elongationOf(facts, sumXY);
    outline.fingersCover = coverAt(hand, facts, ax, ay, kFingersAt * reach);
    facts.sign = signOf(facts, outline);
    facts.palmX += static_cast<float>(blob.left);
    facts.palmY += static_cast<float>(blob.top);
    return facts;
}

}  // namespace vision::room
