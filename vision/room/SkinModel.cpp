#include "vision/room/SkinModel.h"

#include <algorithm>
#include <cmath>

namespace vision::room {

namespace {

// Skin is what lies within this squared distance of the mean: about 3 standard deviations.
constexpr double kSkinDistance = 9.0;
// The narrowest spread allowed per axis: one palm in one light is more uniform than the same
// skin over a whole hand, turned and shaded, and after JPEG.
constexpr double kLeastSpread = 0.014;
// Samples further out than this are glints, shadows or background and are refitted without.
constexpr double kOutlierDistance = 6.0;
constexpr size_t kFewestSamples = 12;

}  // namespace

int SkinModel::binOf(int r, int g, int b) {
    const int sum = r + g + b;
    if (sum < kDarkest) return -1;
    const int qr = r * (kBins - 1) / sum;
    const int qg = g * (kBins - 1) / sum;
    return qr * kBins + qg;
}

double SkinModel::distance(double nr, double ng) const {
    const double dr = nr - meanR_;
    const double dg = ng - meanG_;
    return inv_[0] * dr * dr + 2 * inv_[1] * dr * dg + inv_[2] * dg * dg;
}

void SkinModel::fitMoments(const std::vector<double>& nr, const std::vector<double>& ng,
                           const std::vector<bool>& use) {
    double n = 0, sr = 0, sg = 0;
    for (size_t i = 0; i < nr.size(); ++i) {
        if (!use[i]) continue;
        n += 1;
        sr += nr[i];
        sg += ng[i];
    }
    meanR_ = sr / n;
    meanG_ = sg / n;
    double crr = 0, crg = 0, cgg = 0;
    for (size_t i = 0; i < nr.size(); ++i) {
        if (!use[i]) continue;
        const double dr = nr[i] - meanR_;
        const double dg = ng[i] - meanG_;
        crr += dr * dr;
        crg += dr * dg;
        cgg += dg * dg;
    }
    const double least = kLeastSpread * kLeastSpread;
    crr = std::max(crr / n, least);
    cgg = std::max(cgg / n, least);
    crg /= n;
    // Keep the covariance well away from singular.
    const double limit = 0.9 * std::sqrt(crr * cgg);
    crg = std::clamp(crg, -limit, limit);
    const double det = crr * cgg - crg * crg;
    inv_[0] = cgg / det;
    inv_[1] = -crg / det;
    inv_[2] = crr / det;
}

bool SkinModel::fit(const std::vector<uint8_t>& rgb) {
    std::vector<double> nr, ng;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        const int sum = rgb[i] + rgb[i + 1] + rgb[i + 2];
        if (sum < kDarkest) continue;
        nr.push_back(static_cast<double>(rgb[i]) / sum);
        ng.push_back(static_cast<double>(rgb[i + 1]) / sum);
    }
    valid_ = nr.size() >= kFewestSamples;
    if (!valid_) return false;
    std::vector<bool> use(nr.size(), true);
    fitMoments(nr, ng, use);
    size_t kept = 0;
    for (size_t i = 0; i < nr.size(); ++i) {
        use[i] = distance(nr[i], ng[i]) <= kOutlierDistance * kOutlierDistance;
        kept += use[i];
    }
    if (kept >= kFewestSamples) fitMoments(nr, ng, use);
    buildTable();
    return true;
}

void SkinModel::buildTable() {
    table_.assign(static_cast<size_t>(kBins) * kBins, 0);
    for (int qr = 0; qr < kBins; ++qr) {
        for (int qg = 0; qg < kBins; ++qg) {
            // The middle of the bin.
            const double nr = (qr + 0.5) / (kBins - 1);
            const double ng = (qg + 0.5) / (kBins - 1);
            table_[static_cast<size_t>(qr) * kBins + qg] = distance(nr, ng) <= kSkinDistance;
        }
    }
}

}  // namespace vision::room
