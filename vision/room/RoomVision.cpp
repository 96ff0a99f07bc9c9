#include "vision/room/RoomVision.h"

#include <algorithm>
#include <cmath>

namespace vision::room {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// A pixel has changed from the reference when its channels differ by this much in all, at
// least, or by this many times the camera's noise.
constexpr float kLeastChange = 36.0f;
constexpr float kNoiseTimes = 5.0f;
// Where the reference itself shows the player's skin (a face, a bare arm), a hand has to
// differ more: the person moving a little must not make one.
constexpr float kSkinBackdropTimes = 1.0f;
// A pixel that differs from the room as first seen by less than this share of the change a
// hand needs is the room again.
constexpr float kStartShare = 0.35f;
// The palm sample: a square this far either side of the mark.
constexpr int kSampleReach = 6;
// At calibration the palm's centre lies within this many pixels of its mark.
constexpr int kPalmCentreReach = 12;
// Share of the sample that must differ from the reference for a palm to be there at all.
constexpr float kLeastPalmShare = 0.3f;
// A piece smaller than this share of the calibrated hand, or thinner than this share of its
// palm, is not a hand.
constexpr float kLeastAreaShare = 0.25f;
constexpr float kLeastRadiusShare = 0.6f;
// The hand a palm must at least make at calibration, in pixels, and its palm radius.
constexpr float kLeastCalibratedArea = 40.0f;
// Where the reference follows the room, the share of the new frame it takes each time.
constexpr float kCloseReach = 3.0f;
constexpr float kFollowRate = 0.03f;
// Around a hand, the margin kept out of the gain measurement and the following.
constexpr int kBusyMargin = 8;

// A frame of its own, for the mean palm picture.
struct OwnedImage {
    std::vector<Pixel> pixels = std::vector<Pixel>(kFramePixels);
    Image image{kFrameWidth, kFrameHeight, {}};
    OwnedImage() {
        for (int y = 0; y < kFrameHeight; ++y) image.pixels[y] = pixels.data() + y * kFrameWidth;
    }
};

int truncated(int64_t sum, int64_t count) { return count > 0 ? static_cast<int>(sum / count) : 0; }

// Sum of squared distances from the truncated centre, over the count.
int spreadOf(int64_t sum, int64_t squares, int64_t count) {
    if (count == 0) return 0;
    const int64_t c = sum / count;
    return static_cast<int>((squares - 2 * c * sum + count * c * c) / count);
}

}  // namespace

RoomVision::RoomVision()
    : palmSums_(static_cast<size_t>(kFramePixels) * 3, 0),
      raw_(kFramePixels, 0),
      mask_(kFramePixels, 0),
      referenceSkin_(kFramePixels, 0),
      busy_(kFramePixels, 0),
      swap_(kFramePixels, 0),
      work_(kFramePixels, 0),
      columns_(kFrameWidth, 0) {}

void RoomVision::addReference(const Image& frame) { reference_.add(frame); }

void RoomVision::addPalm(const Image& frame) {
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = frame.pixels[y];
        for (int x = 0; x < kFrameWidth; ++x) {
            uint32_t* sum = &palmSums_[(static_cast<size_t>(y) * kFrameWidth + x) * 3];
            sum[0] += row[x].r;
            sum[1] += row[x].g;
            sum[2] += row[x].b;
        }
    }
    ++palmFrames_;
}

std::string RoomVision::missedPalm(int player) {
    return "no palm of player " + std::to_string(player + 1) +
           " on its mark, so its half reads no hand";
}

bool RoomVision::calibrate(std::string& problem) {
    problem.clear();
    if (palmFrames_ == 0 || !reference_.finish()) {
        problem = "no calibration frames";
        return false;
    }
    changeThreshold_ = std::max(kLeastChange, kNoiseTimes * reference_.noise());
    OwnedImage palms;
    for (size_t i = 0; i < palms.pixels.size(); ++i) {
        const uint32_t* sum = &palmSums_[i * 3];
        Pixel& p = palms.pixels[i];
        p.r = static_cast<uint8_t>(sum[0] / palmFrames_);
        p.g = static_cast<uint8_t>(sum[1] / palmFrames_);
        p.b = static_cast<uint8_t>(sum[2] / palmFrames_);
        p.couleur = p.r | p.g << 8 | p.b << 16;
    }
    for (int player = 0; player < kPlayers; ++player) {
        if (calibratePlayer(palms.image, player)) continue;
        skin_[player] = SkinModel();
        problem += std::string(problem.empty() ? "" : "; ") + missedPalm(player);
    }
    // Where the room itself looks like a player's skin.
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const size_t i = static_cast<size_t>(y) * kFrameWidth + x;
            const SkinModel& skin = skin_[x >= kHalfWidth ? 0 : 1];
            referenceSkin_[i] =
                skin.valid() && skin.isSkin(static_cast<int>(reference_.plane(0)[i]),
                                            static_cast<int>(reference_.plane(1)[i]),
                                            static_cast<int>(reference_.plane(2)[i]));
        }
    }
    calibrated_ = true;
    return true;
}

bool RoomVision::calibratePlayer(const Image& palms, int player) {
    const int mx = markColumn(player);
    std::vector<uint8_t> sample;
    int total = 0;
    for (int y = kMarkRow - kSampleReach; y <= kMarkRow + kSampleReach; ++y) {
        for (int x = mx - kSampleReach; x <= mx + kSampleReach; ++x) {
            const size_t i = static_cast<size_t>(y) * kFrameWidth + x;
            const Pixel& p = palms.pixels[y][x];
            ++total;
            const float change = reference_.difference(i, p.r, p.g, p.b);
            if (change <= changeThreshold_) continue;
            sample.insert(sample.end(), {p.r, p.g, p.b});
        }
    }
    if (static_cast<float>(sample.size() / 3) < kLeastPalmShare * total) return false;
    if (!skin_[player].fit(sample)) return false;
    const float gains[3] = {1, 1, 1};
    markPixels(palms, gains);
    cleanMask();
    closeMask();
    const RoomHand palm = handNear(player, mx, kMarkRow);
    if (!palm.found || palm.facts.count < kLeastCalibratedArea) return false;
    handArea_[player] = static_cast<float>(palm.facts.count);
    palmRadius_[player] = palm.facts.palmRadius;
    // The piece grew beyond the palm (a person passing behind it) and is thickest elsewhere:
    // the palm is the piece's skin about its mark, else the piece's thickness there.
    if (std::abs(palm.facts.palmX - static_cast<float>(mx)) > kPalmCentreReach ||
        std::abs(palm.facts.palmY - static_cast<float>(kMarkRow)) > kPalmCentreReach) {
        const float atMark =
            shape_.thicknessNear(mx - palm.x0, kMarkRow - palm.y0, kPalmCentreReach);
        keepSkin(palms, player);
        const RoomHand skin = handNear(player, mx, kMarkRow);
        palmRadius_[player] = skin.found ? skin.facts.palmRadius : atMark;
    }
    return true;
}

void RoomVision::markPixels(const Image& frame, const float gains[3]) {
    const float inverse[3] = {1.0f / std::max(gains[0], 0.05f), 1.0f / std::max(gains[1], 0.05f),
                              1.0f / std::max(gains[2], 0.05f)};
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = frame.pixels[y];
        for (int x = 0; x < kFrameWidth; ++x) {
            const size_t i = static_cast<size_t>(y) * kFrameWidth + x;
            const float r = std::min(row[x].r * inverse[0], 255.0f);
            const float g = std::min(row[x].g * inverse[1], 255.0f);
            const float b = std::min(row[x].b * inverse[2], 255.0f);
            // Where the room shows skin already (a face, a bare arm), the person moving a
            // little must not make a hand.
            const float change = referenceSkin_[i] ? reference_.change(i, r, g, b)
                                                   : reference_.difference(i, r, g, b);
            const float needed =
                referenceSkin_[i] ? kSkinBackdropTimes * changeThreshold_ : changeThreshold_;
            const SkinModel& skin = skin_[x >= kHalfWidth ? 0 : 1];
            // The room seen again where the following had taken in an arm is no hand either.
            raw_[i] = change > needed &&
                      reference_.differenceFromStart(i, r, g, b) > kStartShare * needed &&
                      skin.valid() &&
                      skin.isSkin(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
        }
    }
}

void RoomVision::keepSkin(const Image& frame, int player) {
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = frame.pixels[y];
        for (int x = halfStart(player); x < halfStart(player) + kHalfWidth; ++x) {
            uint8_t& set = mask_[static_cast<size_t>(y) * kFrameWidth + x];
            if (set && !skin_[player].isSkin(row[x].r, row[x].g, row[x].b)) set = 0;
        }
    }
}

// A pixel stays in the mask when most of its 3 x 3 neighbourhood is in it: lone specks of
// noise go, and one-pixel gaps in a hand close. Each row's sums of three across are kept for
// the rows below.
void RoomVision::cleanMask() {
    std::fill(mask_.begin(), mask_.begin() + kFrameWidth, 0);
    std::fill(mask_.end() - kFrameWidth, mask_.end(), 0);
    uint8_t* across = work_.data();
    for (int y = 0; y < kFrameHeight; ++y) {
        const uint8_t* in = &raw_[static_cast<size_t>(y) * kFrameWidth];
        uint8_t* sums = across + static_cast<size_t>(y) * kFrameWidth;
        sums[0] = sums[kFrameWidth - 1] = 0;
        for (int x = 1; x + 1 < kFrameWidth; ++x)
            sums[x] = static_cast<uint8_t>(in[x - 1] + in[x] + in[x + 1]);
    }
    for (int y = 1; y + 1 < kFrameHeight; ++y) {
        const uint8_t* above = across + static_cast<size_t>(y - 1) * kFrameWidth;
        const uint8_t* here = above + kFrameWidth;
        const uint8_t* below = here + kFrameWidth;
        uint8_t* out = &mask_[static_cast<size_t>(y) * kFrameWidth];
        for (int x = 0; x < kFrameWidth; ++x) out[x] = above[x] + here[x] + below[x] >= 5;
    }
}

// Closes the gaps that creases and shading leave in a hand: a dilation then an erosion, both
// over squares kCloseReach pixels either side, each done row-wise then column-wise.
void RoomVision::closeMask() {
    const int reach = static_cast<int>(kCloseReach);
    if (reach <= 0) return;
    spread<true>(mask_, swap_, reach);
    spread<false>(swap_, mask_, reach);
}

// Each pass keeps a running count of the set pixels in the window; places beyond the picture
// count as unset for a dilation and as set for an erosion, so the picture's edge neither
// grows nor eats a hand.
template <bool grow>
void RoomVision::spread(const std::vector<uint8_t>& from, std::vector<uint8_t>& to, int reach) {
    const int window = 2 * reach + 1;
    const int outside = grow ? 0 : 1;
    auto decide = [&](int count) -> uint8_t { return grow ? count > 0 : count == window; };
    for (int y = 0; y < kFrameHeight; ++y) {
        const uint8_t* in = &from[static_cast<size_t>(y) * kFrameWidth];
        uint8_t* out = &work_[static_cast<size_t>(y) * kFrameWidth];
        int count = outside * reach;
        for (int x = 0; x < reach; ++x) count += in[x];
        for (int x = 0; x < kFrameWidth; ++x) {
            count += x + reach < kFrameWidth ? in[x + reach] : outside;
            out[x] = decide(count);
            count -= x - reach >= 0 ? in[x - reach] : outside;
        }
    }
    std::vector<int>& counts = columns_;
    std::fill(counts.begin(), counts.end(), outside * reach);
    for (int y = 0; y < reach; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            counts[static_cast<size_t>(x)] += work_[static_cast<size_t>(y) * kFrameWidth + x];
    for (int y = 0; y < kFrameHeight; ++y) {
        const uint8_t* enter = y + reach < kFrameHeight
                                   ? &work_[static_cast<size_t>(y + reach) * kFrameWidth]
                                   : nullptr;
        const uint8_t* leave =
            y - reach >= 0 ? &work_[static_cast<size_t>(y - reach) * kFrameWidth] : nullptr;
        uint8_t* out = &to[static_cast<size_t>(y) * kFrameWidth];
        for (int x = 0; x < kFrameWidth; ++x) {
            int& count = counts[static_cast<size_t>(x)];
            count += enter ? enter[x] : outside;
            out[x] = decide(count);
            count -= leave ? leave[x] : outside;
        }
    }
}

RoomHand RoomVision::findHand(int player) {
    RoomHand hand;
    if (!skin_[player].valid()) return hand;
    blobs_.label(mask_, halfStart(player), kHalfWidth);
    for (const Blob& blob : blobs_.blobs()) {
        if (blob.area < kLeastAreaShare * handArea_[player]) break;
        const HandFacts facts = shape_.measure(blobs_.cut(blob), palmRadius_[player]);
        if (facts.palmRadius >= kLeastRadiusShare * palmRadius_[player]) return handOf(blob, facts);
    }
    return hand;
}

RoomHand RoomVision::handOf(const Blob& blob, const HandFacts& facts) {
    RoomHand hand;
    hand.found = true;
    hand.facts = facts;
    hand.x0 = blob.x0;
    hand.y0 = blob.y0;
    hand.x1 = blob.x1;
    hand.y1 = blob.y1;
    return hand;
}

// At calibration: the piece that covers the mark, or failing that the largest one near it.
RoomHand RoomVision::handNear(int player, int x, int y) {
    blobs_.label(mask_, halfStart(player), kHalfWidth);
    for (const Blob& blob : blobs_.blobs()) {
        if (x < blob.x0 - kSampleReach || x > blob.x1 + kSampleReach ||
            y < blob.y0 - kSampleReach || y > blob.y1 + kSampleReach)
            continue;
        return handOf(blob, shape_.measure(blobs_.cut(blob)));
    }
    return RoomHand();
}

void RoomVision::markBusy() {
    std::fill(busy_.begin(), busy_.end(), 0);
    for (const RoomHand& hand : hands_) {
        if (!hand.found) continue;
        const int x0 = std::max(0, hand.x0 - kBusyMargin);
        const int x1 = std::min(kFrameWidth - 1, hand.x1 + kBusyMargin);
        const int y0 = std::max(0, hand.y0 - kBusyMargin);
        const int y1 = std::min(kFrameHeight - 1, hand.y1 + kBusyMargin);
        for (int y = y0; y <= y1; ++y)
            std::fill(busy_.begin() + y * kFrameWidth + x0,
                      busy_.begin() + y * kFrameWidth + x1 + 1, 1);
    }
}

void RoomVision::read(const Image& frame, CWebCam& cam) {
    if (!calibrated_) return;
    markBusy();
    reference_.measureGains(frame, busy_);
    markPixels(frame, reference_.gains());
    cleanMask();
    closeMask();
    for (int player = 0; player < kPlayers; ++player) hands_[player] = findHand(player);
    markBusy();
    // Changed pixels that are no hand: people who moved, things put down; the reference
    // takes them in slowly.
    reference_.follow(frame, busy_, kFollowRate);
    store(cam);
}

void RoomVision::drawMask(Image& frame) const {
    for (int y = 0; y < kFrameHeight; ++y) {
        Pixel* row = frame.pixels[y];
        const uint8_t* set = &mask_[static_cast<size_t>(y) * kFrameWidth];
        for (int x = 0; x < kFrameWidth; ++x) {
            const uint8_t v = set[x] ? 255 : 0;
            row[x].r = row[x].g = row[x].b = v;
            row[x].couleur = set[x] ? 0xFFFFFF : 0;
        }
    }
}

void RoomVision::store(CWebCam& cam) const {
    const HandFacts& one = hands_[0].facts;
    const HandFacts& two = hands_[1].facts;
    const bool in1 = hands_[0].found, in2 = hands_[1].found;
    cam.baryX1.store(in1 ? truncated(one.sumX, one.count) - kHalfWidth : -kHalfWidth, kRelaxed);
    cam.baryY1.store(in1 ? truncated(one.sumY, one.count) : 0, kRelaxed);
    cam.baryX2.store(in2 ? truncated(two.sumX, two.count) : 0, kRelaxed);
    cam.baryY2.store(in2 ? truncated(two.sumY, two.count) : 0, kRelaxed);
    cam.handIn1.store(in1, kRelaxed);
    cam.handIn2.store(in2, kRelaxed);
    if (in2) cam.nbPixels2.store(static_cast<int32_t>(two.count), kRelaxed);
    if (in1) cam.nbPixels1.store(static_cast<int32_t>(one.count), kRelaxed);
    cam.varX1.store(in1 ? spreadOf(one.sumX, one.sumXX, one.count) : 0, kRelaxed);
    cam.varY1.store(in1 ? spreadOf(one.sumY, one.sumYY, one.count) : 0, kRelaxed);
    cam.varX2.store(in2 ? spreadOf(two.sumX, two.sumXX, two.count) : 0, kRelaxed);
    cam.varY2.store(in2 ? spreadOf(two.sumY, two.sumYY, two.count) : 0, kRelaxed);
    cam.rps1.store(in1 ? one.sign : kScissors, kRelaxed);
    cam.rps2.store(in2 ? two.sign : kScissors, kRelaxed);
}

}  // namespace vision::room
