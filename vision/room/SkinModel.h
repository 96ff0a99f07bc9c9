// One player's skin colour: a Gaussian in normalised red and green (each channel over the sum
// of the three), which shading and the brightness of the light hardly move. Looked up through
// a table of chroma bins so that a pixel costs one division and one read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vision::room {

class SkinModel {
public:
    static constexpr int kBins = 128;
    // Darker pixels carry too little colour to judge (sum of the three channels).
    static constexpr int kDarkest = 36;

    // Fits the model to pixels given as interleaved r, g, b; false (and no model) when fewer
    // than a handful of them are bright enough to count.
    bool fit(const std::vector<uint8_t>& rgb);
    bool valid() const { return valid_; }

    // The chroma bin of a pixel, or -1 when it is too dark.
    static int binOf(int r, int g, int b);
    bool skinBin(int bin) const { return bin >= 0 && table_[static_cast<size_t>(bin)] != 0; }
    bool isSkin(int r, int g, int b) const { return skinBin(binOf(r, g, b)); }

    // The squared Mahalanobis distance of a normalised chroma from the model's mean.
    double distance(double nr, double ng) const;

private:
    void fitMoments(const std::vector<double>& nr, const std::vector<double>& ng,
                    const std::vector<bool>& use);
    void buildTable();

    bool valid_ = false;
    double meanR_ = 0, meanG_ = 0;
    // The inverse covariance: rr, rg, gg.
    double inv_[3] = {};
    std::vector<uint8_t> table_;
};

}  // namespace vision::room
