#include "vision/room/BlobFinder.h"

#include <algorithm>

#include "vision/Picture.h"

namespace vision::room {

int32_t BlobFinder::root(int32_t label) {
    while (parent_[static_cast<size_t>(label)] != label) {
        parent_[static_cast<size_t>(label)] =
            parent_[static_cast<size_t>(parent_[static_cast<size_t>(label)])];
        label = parent_[static_cast<size_t>(label)];
    }
    return label;
}

void BlobFinder::join(int32_t a, int32_t b) {
    a = root(a);
    b = root(b);
    if (a != b) parent_[static_cast<size_t>(std::max(a, b))] = std::min(a, b);
}

void BlobFinder::label(const std::vector<uint8_t>& mask, int first, int width) {
    first_ = first;
    width_ = width;
    labels_.assign(static_cast<size_t>(width) * kFrameHeight, 0);
    parent_.assign(1, 0);
    // First pass: provisional labels, joined where two meet.
    for (int y = 0; y < kFrameHeight; ++y) {
        const uint8_t* row = mask.data() + static_cast<size_t>(y) * kFrameWidth + first;
        int32_t* here = labels_.data() + static_cast<size_t>(y) * width;
        const int32_t* above = y > 0 ? here - width : nullptr;
        for (int x = 0; x < width; ++x) {
            if (!row[x]) continue;
            int32_t found = 0;
            const int32_t near[4] = {x > 0 ? here[x - 1] : 0, above && x > 0 ? above[x - 1] : 0,
                                     above ? above[x] : 0,
                                     above && x + 1 < width ? above[x + 1] : 0};
            for (int32_t n : near) {
                if (!n) continue;
                if (found)
                    join(found, n);
                else
                    found = n;
            }
            if (!found) {
                found = static_cast<int32_t>(parent_.size());
                parent_.push_back(found);
            }
            here[x] = found;
        }
    }
    // Second pass: final labels, sizes and boxes.
    std::vector<int32_t> index(parent_.size(), -1);
    blobs_.clear();
    for (int y = 0; y < kFrameHeight; ++y) {
        int32_t* here = labels_.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            if (!here[x]) continue;
            const int32_t r = root(here[x]);
            here[x] = r;
            int32_t& k = index[static_cast<size_t>(r)];
            if (k < 0) {
                k = static_cast<int32_t>(blobs_.size());
                blobs_.push_back(Blob{r, 0, first + x, y, first + x, y});
            }
            Blob& b = blobs_[static_cast<size_t>(k)];
            ++b.area;
            b.x0 = std::min(b.x0, first + x);
            b.x1 = std::max(b.x1, first + x);
            b.y1 = y;
        }
    }
    std::sort(blobs_.begin(), blobs_.end(),
              [](const Blob& a, const Blob& b) { return a.area > b.area; });
}

Patch BlobFinder::cut(const Blob& blob) const {
    Patch p;
    p.left = blob.x0;
    p.top = blob.y0;
    p.width = blob.width();
    p.height = blob.height();
    // 0 not yet known, 1 the blob, 2 outside (reached from the box's border).
    std::vector<uint8_t> state(static_cast<size_t>(p.width) * p.height, 0);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (labels_[static_cast<size_t>(y + p.top) * width_ + (x + p.left - first_)] ==
                blob.label)
                state[static_cast<size_t>(y) * p.width + x] = 1;
    std::vector<int> stack;
    auto push = [&](int x, int y) {
        uint8_t& s = state[static_cast<size_t>(y) * p.width + x];
        if (s == 0) {
            s = 2;
            stack.push_back(y * p.width + x);
        }
    };
    for (int x = 0; x < p.width; ++x) {
        push(x, 0);
        push(x, p.height - 1);
    }
    for (int y = 0; y < p.height; ++y) {
        push(0, y);
        push(p.width - 1, y);
    }
    while (!stack.empty()) {
        const int at = stack.back();
        stack.pop_back();
        const int x = at % p.width, y = at / p.width;
        if (x > 0) push(x - 1, y);
        if (x + 1 < p.width) push(x + 1, y);
        if (y > 0) push(x, y - 1);
        if (y + 1 < p.height) push(x, y + 1);
    }
    p.inside.resize(state.size());
    for (size_t i = 0; i < state.size(); ++i) p.inside[i] = state[i] != 2;
    return p;
}

}  // namespace vision::room
