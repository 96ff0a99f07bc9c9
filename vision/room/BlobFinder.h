// The connected pieces (8-neighbours) of a mask within one player's half, with their size and
// bounding box, and one of them cut out as a patch of its own with its holes filled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vision::room {

struct Blob {
    int32_t label = 0;
    int32_t area = 0;
    // Bounding box in frame coordinates, last row and column included.
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int width() const { return x1 - x0 + 1; }
    int height() const { return y1 - y0 + 1; }
};

// One blob's pixels, 1 inside and 0 outside, over its bounding box.
struct Patch {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> inside;
    uint8_t at(int x, int y) const { return inside[static_cast<size_t>(y) * width + x]; }
};

class BlobFinder {
public:
    // Labels the mask's pixels (non-zero: set; kFramePixels bytes, row after row) in columns
    // first .. first + width - 1; blobs() then lists the pieces, largest first.
    void label(const std::vector<uint8_t>& mask, int first, int width);
    const std::vector<Blob>& blobs() const { return blobs_; }

    // The blob's pixels, with every hole (unset pixels it encloses) filled in.
    Patch cut(const Blob& blob) const;

private:
    int32_t root(int32_t label);
    void join(int32_t a, int32_t b);

    int first_ = 0, width_ = 0;
    std::vector<int32_t> labels_;
    std::vector<int32_t> parent_;
    std::vector<Blob> blobs_;
};

}  // namespace vision::room
