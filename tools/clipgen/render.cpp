#include "tools/clipgen/render.h"

#include <algorithm>
#include <cmath>

#include "tools/clipgen/noise.h"

namespace clipgen {

namespace {

// Sizes chosen so the mask's spreads fall well inside each sign's band: a rock's spreads are
// about equal, a paper's vertical spread is about twenty times its horizontal one, and the
// scissors' V sits near the middle of the 1.8 .. 2.95 band between them.
constexpr double kRockRadiusX = 24.0;
constexpr double kRockRadiusY = 22.0;
constexpr double kPaperHalfWidth = 13.0;
constexpr double kPaperHalfHeight = 56.0;
constexpr double kPaperCorner = 10.0;
constexpr double kFingerSpread = 28.0;  // tip's sideways offset from the base
constexpr double kFingerLength = 90.0;  // base to tips, vertically
constexpr double kFingerWidth = 10.0;
constexpr double kFingerDrop = 3.3;
constexpr int kReach = 64;  // every shape fits in a box of +/- kReach around its centre

constexpr int kBackground = 20;      // dark, neutral grey
constexpr int kBackgroundNoise = 3;  // levels 20..22
constexpr uint8_t kSkin[3] = {236, 196, 168};
constexpr int kSkinNoise = 7;  // -3..+3
// Hands are drawn far above this grey level and the background far below it.
constexpr int kHandSplit = 128;

uint32_t noise(unsigned seed, long frame, int x, int y) {
    return noiseAt(seed, frame, static_cast<uint32_t>(y * kWidth + x));
}

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

bool insideRock(double dx, double dy) {
    const double ex = dx / kRockRadiusX, ey = dy / kRockRadiusY;
    return ex * ex + ey * ey <= 1.0;
}

bool insidePaper(double dx, double dy) {
    const double ax = std::fabs(dx), ay = std::fabs(dy);
    if (ax > kPaperHalfWidth || ay > kPaperHalfHeight) return false;
    // Rounded finger tips at the top only.
    const double cx = kPaperHalfWidth - kPaperCorner, cy = kPaperHalfHeight - kPaperCorner;
    if (dy < 0 && ax > cx && ay > cy) return std::hypot(ax - cx, ay - cy) <= kPaperCorner;
    return true;
}

bool insideScissors(double dx, double dy) {
    // The fingers overlap at the base, so the V is drawn that much lower to keep its mass
    // centred on the hand's position.
    const double baseY = kFingerLength / 2 + kFingerDrop, tipY = -kFingerLength / 2 + kFingerDrop;
    return segmentDistance(dx, dy, 0, baseY, -kFingerSpread, tipY) <= kFingerWidth / 2 ||
           segmentDistance(dx, dy, 0, baseY, kFingerSpread, tipY) <= kFingerWidth / 2;
}

bool inside(Shape shape, double dx, double dy) {
    switch (shape) {
    case Shape::Rock: return insideRock(dx, dy);
    case Shape::Paper: return insidePaper(dx, dy);
    case Shape::Scissors: return insideScissors(dx, dy);
    default: return false;
    }
}

void fillBackground(long frame, unsigned seed, Picture& picture) {
    picture.resize(static_cast<size_t>(kWidth) * kHeight * 3);
    uint8_t* p = picture.data();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x, p += 3) {
            const uint8_t level =
                static_cast<uint8_t>(kBackground + noise(seed, frame, x, y) % kBackgroundNoise);
            p[0] = p[1] = p[2] = level;
        }
}

// Draws a hand centred at (cx, cy) of the half that starts at column `left`, cut to that half.
void drawHand(Shape shape, double cx, double cy, int left, long frame, unsigned seed,
              Picture& picture) {
    if (shape == Shape::None) return;
    const int x0 = std::max(left, left + static_cast<int>(std::floor(cx)) - kReach);
    const int x1 = std::min(left + kHalf, left + static_cast<int>(std::ceil(cx)) + kReach);
    const int y0 = std::max(0, static_cast<int>(std::floor(cy)) - kReach);
    const int y1 = std::min(kHeight, static_cast<int>(std::ceil(cy)) + kReach);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (!inside(shape, x - left + 0.5 - cx, y + 0.5 - cy)) continue;
            const int grain =
                static_cast<int>(noise(seed + 1, frame, x, y) % kSkinNoise) - kSkinNoise / 2;
            uint8_t* p = &picture[(static_cast<size_t>(y) * kWidth + x) * 3];
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(kSkin[c] + grain);
        }
}

double along(double from, double to, int step, int frames) {
    return frames > 1 ? from + (to - from) * step / (frames - 1) : from;
}

void drawPlayer(const Hand& hand, int left, int step, int frames, long frame, unsigned seed,
                Picture& picture) {
    drawHand(hand.shape, along(hand.startX, hand.endX, step, frames),
             along(hand.startY, hand.endY, step, frames), left, frame, seed, picture);
}

int grey(const uint8_t* p) { return (p[0] + p[1] + p[2]) / 3; }

}  // namespace

void drawFrame(const Segment& segment, int step, long frame, unsigned seed, Picture& picture) {
    fillBackground(frame, seed, picture);
    drawPlayer(segment.player1, kHalf, step, segment.frames, frame, seed, picture);
    drawPlayer(segment.player2, 0, step, segment.frames, frame, seed, picture);
}

bool handsStandOut(const Picture& picture) {
    long sum = 0;
    for (size_t i = 0; i < picture.size(); i += 3) sum += grey(&picture[i]);
    const int mean = static_cast<int>(sum / (kWidth * kHeight));
    for (size_t i = 0; i < picture.size(); i += 3) {
        const int level = grey(&picture[i]);
        // One level to spare for the rounding of the YUV round trip.
        if (level < kHandSplit && level + 1 > mean) return false;
    }
    return true;
}

}  // namespace clipgen
