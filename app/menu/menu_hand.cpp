#include "app/menu/menu_hand.h"

#include "app/camera/calibration_phase.h"
#include "app/main.h"
#include "app/panel/panel_feed.h"

namespace menu {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
// A worker that rewrites the values between every two looks is not waited for beyond this.
constexpr int kMostLooks = 4;

HandReading look(const CWebCam& cam, int player) {
    const bool one = player == 1;
    HandReading r;
    r.seen = (one ? cam.handIn1 : cam.handIn2).load(kRelaxed) != 0;
    r.y = (one ? cam.baryY1 : cam.baryY2).load(kRelaxed);
    r.sign = (one ? cam.rps1 : cam.rps2).load(kRelaxed);
    return r;
}

bool same(const HandReading& a, const HandReading& b) {
    return a.seen == b.seen && a.y == b.y && a.sign == b.sign;
}

}  // namespace

HandReading readHand(const CWebCam& cam, const PanelFeed& feed, int player) {
    if (feed.calibration.load(kRelaxed) != CALIBRATION_DONE) return {};
    HandReading last = look(cam, player);
    for (int n = 1; n < kMostLooks; ++n) {
        const HandReading again = look(cam, player);
        if (same(again, last)) return again;
        last = again;
    }
    return last;
}

HandPointer::Step handStep(HandPointer& pointer, int64_t nowMs, const std::vector<bool>& byHand,
                           int highlighted) {
    return pointer.step(readHand(WebCam, panelFeed), nowMs, byHand, highlighted);
}

}  // namespace menu
