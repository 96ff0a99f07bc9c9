#include "app/menu/hand_pointer.h"

#include <algorithm>
#include <cmath>

#include "vision/Picture.h"

namespace menu {

int HandPointer::pointAt(int y, int rows) const {
    const double pitch = static_cast<double>(kBottomY - kTopY) / rows;
    const double at = (y - kTopY) / pitch;
    if (row_ >= 0 && at >= row_ - kHysteresis && at < row_ + 1 + kHysteresis) return row_;
    return std::clamp(static_cast<int>(std::floor(at)), 0, rows - 1);
}

// Whether the pointed row changed.
bool HandPointer::point(const HandReading& hand, int rows) {
    if (rows != rows_) {
        rows_ = rows;
        row_ = -1;
    }
    if (!hand.seen || rows <= 0) return false;
    const int row = pointAt(hand.y, rows);
    const bool moved = row != row_;
    row_ = row;
    return moved;
}

// The hold's progress on row `on`; a hold that reaches 1 on a rock is spent.
double HandPointer::hold(const HandReading& hand, int64_t nowMs, bool choosable, int on) {
    const bool rock = hand.seen && hand.sign == vision::kRock;
    if (rock) {
        if (since_ < 0 || on != holdRow_) {
            since_ = nowMs;
            holdRow_ = on;
        }
        lastRock_ = nowMs;
    } else if (lastRock_ < 0 || nowMs - lastRock_ > kBridgeMs) {
        since_ = -1;
        armed_ = true;
    }
    if (!armed_ || since_ < 0 || !choosable) return 0;
    const double progress = std::min(1.0, static_cast<double>(nowMs - since_) / kHoldMs);
    if (rock && progress >= 1.0) {
        armed_ = false;
        since_ = -1;
    }
    return progress;
}

HandPointer::Step HandPointer::step(const HandReading& hand, int64_t nowMs,
                                    const std::vector<bool>& byHand, int highlighted) {
    Step s;
    s.moved = point(hand, static_cast<int>(byHand.size()));
    if (hand.seen) s.row = row_;
    // A hand that has just pointed elsewhere holds on its new row, not on the one it left.
    const int on = s.moved ? s.row : highlighted;
    const bool choosable = on >= 0 && on < rows_ && byHand[static_cast<size_t>(on)];
    const bool wasArmed = armed_;
    s.progress = hold(hand, nowMs, choosable, on);
    s.chose = wasArmed && !armed_;
    return s;
}

void HandPointer::reset() {
    row_ = -1;
    since_ = -1;
    holdRow_ = -1;
}

}  // namespace menu
