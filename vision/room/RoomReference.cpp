#include "vision/room/RoomReference.h"

#include <algorithm>
#include <cmath>

namespace vision::room {

namespace {

// Gains are measured on every kGainStep-th pixel of every kGainStep-th row.
constexpr int kGainStep = 6;
// Channels this dark say little about a gain, and clipped ones lie about it.
constexpr float kDarkestForGain = 16.0f;
constexpr int kClipped = 250;
// The reference's range at a pixel covers the pixels this far around it.
constexpr int kSwayReach = 1;
// The ranges are measured again after the reference has followed the room this many times.
constexpr int kBoundsEvery = 8;
// Below this many usable samples the gains stay as they were.
constexpr size_t kFewestGainSamples = 200;

float channel(const Pixel& p, int c) { return c == 0 ? p.r : c == 1 ? p.g : p.b; }

float medianOf(std::vector<float>& values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace

RoomReference::RoomReference() { reset(); }

void RoomReference::reset() {
    for (int c = 0; c < 3; ++c) {
        sums_[c].assign(kFramePixels, 0);
        planes_[c].assign(kFramePixels, 0.0f);
        gains_[c] = 1.0f;
    }
    previous_.clear();
    frames_ = 0;
    noiseSum_ = 0;
    noiseCount_ = 0;
    noise_ = 0;
}

void RoomReference::add(const Image& frame) {
    const bool compare = !previous_.empty();
    previous_.resize(static_cast<size_t>(kFramePixels) * 3);
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = frame.pixels[y];
        for (int x = 0; x < kFrameWidth; ++x) {
            const size_t i = static_cast<size_t>(y) * kFrameWidth + x;
            const uint8_t rgb[3] = {row[x].r, row[x].g, row[x].b};
            int change = 0;
            for (int c = 0; c < 3; ++c) {
                sums_[c][i] += rgb[c];
                change += std::abs(rgb[c] - previous_[3 * i + c]);
                previous_[3 * i + c] = rgb[c];
            }
            if (compare) noiseSum_ += change;
        }
    }
    if (compare) noiseCount_ += kFramePixels;
    ++frames_;
}

bool RoomReference::finish() {
    if (frames_ == 0) return false;
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < kFramePixels; ++i)
            planes_[c][static_cast<size_t>(i)] =
                static_cast<float>(sums_[c][static_cast<size_t>(i)]) / frames_;
    for (int c = 0; c < 3; ++c) start_[c] = planes_[c];
    // The difference of two noisy frames has sqrt(2) times the noise of one.
    noise_ = noiseCount_ > 0 ? static_cast<float>(noiseSum_ / noiseCount_ / std::sqrt(2.0)) : 0;
    previous_.clear();
    previous_.shrink_to_fit();
    measureBounds();
    return true;
}

namespace {

// The least or greatest value of `from` within kSwayReach places along a row, or down a column
// when `down`, the picture's edge repeated beyond it.
template <bool least>
void extremeAlong(const std::vector<float>& from, std::vector<float>& to, bool down) {
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x) {
            float v = from[static_cast<size_t>(y) * kFrameWidth + x];
            for (int d = -kSwayReach; d <= kSwayReach; ++d) {
                const int xx = down ? x : std::clamp(x + d, 0, kFrameWidth - 1);
                const int yy = down ? std::clamp(y + d, 0, kFrameHeight - 1) : y;
                const float w = from[static_cast<size_t>(yy) * kFrameWidth + xx];
                v = least ? std::min(v, w) : std::max(v, w);
            }
            to[static_cast<size_t>(y) * kFrameWidth + x] = v;
        }
}

}  // namespace

void RoomReference::measureBounds() {
    scratch_.resize(kFramePixels);
    for (int c = 0; c < 3; ++c) {
        low_[c].resize(kFramePixels);
        high_[c].resize(kFramePixels);
        extremeAlong<true>(planes_[c], scratch_, false);
        extremeAlong<true>(scratch_, low_[c], true);
        extremeAlong<false>(planes_[c], scratch_, false);
        extremeAlong<false>(scratch_, high_[c], true);
    }
}

void RoomReference::measureGains(const Image& frame, const std::vector<uint8_t>& busy) {
    std::vector<float> ratios[3];
    for (int y = kGainStep / 2; y < kFrameHeight; y += kGainStep) {
        const Pixel* row = frame.pixels[y];
        for (int x = kGainStep / 2; x < kFrameWidth; x += kGainStep) {
            const size_t i = static_cast<size_t>(y) * kFrameWidth + x;
            if (busy[i]) continue;
            for (int c = 0; c < 3; ++c) {
                const float ref = planes_[c][i];
                const float now = channel(row[x], c);
                if (ref >= kDarkestForGain && ref < kClipped && now < kClipped)
                    ratios[c].push_back(now / ref);
            }
        }
    }
    for (int c = 0; c < 3; ++c)
        if (ratios[c].size() >= kFewestGainSamples) gains_[c] = medianOf(ratios[c]);
}

void RoomReference::follow(const Image& frame, const std::vector<uint8_t>& busy, float rate) {
    float scale[3];
    for (int c = 0; c < 3; ++c) scale[c] = rate / std::max(gains_[c], 0.05f);
    const float keep = 1.0f - rate;
    const float most = 255.0f * rate;
    float* r = planes_[0].data();
    float* g = planes_[1].data();
    float* b = planes_[2].data();
    for (int y = 0; y < kFrameHeight; ++y) {
        const Pixel* row = frame.pixels[y];
        const size_t first = static_cast<size_t>(y) * kFrameWidth;
        for (int x = 0; x < kFrameWidth; ++x) {
            const size_t i = first + static_cast<size_t>(x);
            if (busy[i]) continue;
            r[i] = keep * r[i] + std::min(row[x].r * scale[0], most);
            g[i] = keep * g[i] + std::min(row[x].g * scale[1], most);
            b[i] = keep * b[i] + std::min(row[x].b * scale[2], most);
        }
    }
    if (++followed_ % kBoundsEvery == 0) measureBounds();
}

}  // namespace vision::room
