// The picture of the room as it is without hands: the mean of the first calibration phase,
// kept up to date where no hand is, and the gain of each colour channel of a new frame against
// it (the camera's exposure and white balance, or the light itself, having changed since).
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "vision/WebCam.h"

namespace vision::room {

class RoomReference {
public:
    RoomReference();

    // The first calibration phase: add() each frame, then finish() takes their mean.
    void reset();
    void add(const Image& frame);
    // False when no frame was added.
    bool finish();

    // The typical change of a pixel between two frames of a still scene (camera noise, summed
    // over the three channels), measured during the first phase.
    float noise() const { return noise_; }

    // Measures the gains of `frame` on pixels where `busy` is 0 (kFramePixels bytes), robustly:
    // the median ratio per channel, so hands and moving people do not pull it.
    void measureGains(const Image& frame, const std::vector<uint8_t>& busy);
    // Frame over reference, per channel r, g, b; 1 until measured.
    const float* gains() const { return gains_; }

    // Moves the reference a share `rate` towards the gain-corrected frame where `busy` is 0.
    void follow(const Image& frame, const std::vector<uint8_t>& busy, float rate);

    // The reference's channel c (0 r, 1 g, 2 b), one float a pixel, row after row.
    const float* plane(int c) const { return planes_[c].data(); }

    // How far a (gain-corrected) colour at pixel i is from the reference's, summed over the
    // channels.
    float difference(size_t i, float r, float g, float b) const {
        return std::fabs(r - planes_[0][i]) + std::fabs(g - planes_[1][i]) +
               std::fabs(b - planes_[2][i]);
    }
    // How far it lies outside what the reference shows around that pixel: a person swaying a
    // pixel or two changes nothing, a hand in front of them does.
    float change(size_t i, float r, float g, float b) const {
        return outside(r, low_[0][i], high_[0][i]) + outside(g, low_[1][i], high_[1][i]) +
               outside(b, low_[2][i], high_[2][i]);
    }

    // How far it is from the room as the first phase saw it, before any following: a place
    // the following took a still arm into shows the room again once the arm has gone.
    float differenceFromStart(size_t i, float r, float g, float b) const {
        return std::fabs(r - start_[0][i]) + std::fabs(g - start_[1][i]) +
               std::fabs(b - start_[2][i]);
    }

private:
    static float outside(float v, float low, float high) {
        return v < low ? low - v : v > high ? v - high : 0.0f;
    }
    // The least and the greatest of each channel around every pixel.
    void measureBounds();

    std::vector<float> planes_[3], start_[3];
    std::vector<float> low_[3], high_[3], scratch_;
    int followed_ = 0;
    std::vector<uint32_t> sums_[3];
    std::vector<uint8_t> previous_;
    int frames_ = 0;
    double noiseSum_ = 0;
    int noiseCount_ = 0;
    float noise_ = 0;
    float gains_[3] = {1, 1, 1};
};

}  // namespace vision::room
