#pragma once
// A hand in front of the camera as the menu's pointer: the height of the hand in its half of
// the picture points at a row, and a rock held for a second on the highlighted row chooses it.
// Fed one reading a pass on the main thread's clock; it knows nothing of windows or threads.
#include <cstdint>
#include <vector>

namespace menu {

// One half's reading as the recognition published it.
struct HandReading {
    bool seen = false;
    // The hand centre's row in the picture, 0 at the top.
    int y = 0;
    // vision::HandSign.
    int sign = 0;
};

class HandPointer {
public:
    // How long a rock is held to choose.
    static constexpr int64_t kHoldMs = 1000;
    // The rows share the picture between these two rows of hand centres: a hand held higher
    // points at the first row, lower at the last, so that nobody reaches to the picture's
    // edges (a hand let down rests near the bottom).
    static constexpr int kTopY = 40;
    static constexpr int kBottomY = 200;
    // How far past its row's edge, in rows, the hand goes before the next row takes it: a hand
    // held near the edge, or a centre that shifts as the hand closes, keeps its row.
    static constexpr double kHysteresis = 0.3;
    // A rock misread, or the hand missed, for no longer than this leaves the hold going (the
    // recognition misreads the odd frame of a hand held still).
    static constexpr int64_t kBridgeMs = 200;

    struct Step {
        // The row the hand points at; -1 with no hand.
        int row = -1;
        // The pointed row changed (the first hand after reset() included): the highlight goes
        // to `row`. A hand that stays on its row leaves a highlight the keys moved alone.
        bool moved = false;
        // A rock has been held kHoldMs on the highlighted row: choose it.
        bool chose = false;
        // How far the hold is, 0 to 1, for the menu to show.
        double progress = 0;
    };

    // `byHand` has one entry per row of the screen, false on the rows the hand cannot choose;
    // `highlighted` is the menu's highlighted row as it stands.
    Step step(const HandReading& hand, int64_t nowMs, const std::vector<bool>& byHand,
              int highlighted);
    // A new screen: the next hand seen moves the highlight and any hold starts again. A rock
    // kept from the choice before still has to open first.
    void reset();

private:
    int pointAt(int y, int rows) const;
    bool point(const HandReading& hand, int rows);
    double hold(const HandReading& hand, int64_t nowMs, bool choosable, int on);

    int rows_ = 0;
    // The pointed row, kept while the hand is away so that it comes back to the same one.
    int row_ = -1;
    // The hold: its row, when its rock closed (-1: none) and when a rock was last read.
    int holdRow_ = -1;
    int64_t since_ = -1;
    int64_t lastRock_ = -1;
    // False from a choice until the rock opens or leaves.
    bool armed_ = true;
};

}  // namespace menu
