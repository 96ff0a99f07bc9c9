#include "tools/roomclip/hand_photo.h"

#include <algorithm>
#include <cmath>

#include "tools/roomclip/sources.h"

namespace roomclip {

namespace {

constexpr int kLargestSide = 400;

// Noted on the photos at their own size; each finger's polygon runs along the gaps to its
// neighbours and reaches past its tip.
std::vector<HandNotes> makeNotes() {
    std::vector<HandNotes> notes;
    {
        // Fingers point right; the photo's left edge is the heel of the hand.
        HandNotes n;
        n.name = "light";
        n.path = openCvDoc("opencv4/html/handSrc.jpg");
        n.wristA = {0, 118};
        n.wristB = {0, 392};
        n.thumb = {{-1, 100}, {175, 140}, {215, 110}, {300, 30}, {300, -1}, {-1, -1}};
        n.thumbPivot = {110, 122};
        n.fingers = {Polygon{{285, 120}, {322, 207}, {580, 228}, {580, 100}},
                     Polygon{{322, 207}, {320, 282}, {580, 290}, {580, 228}},
                     Polygon{{320, 282}, {295, 342}, {580, 360}, {580, 290}},
                     Polygon{{295, 342}, {235, 405}, {330, 479}, {580, 479}, {580, 360}}};
        n.fingerPivots = {Point{303, 166}, Point{321, 245}, Point{308, 312}, Point{268, 373}};
        n.minRedness = 0.07;
        notes.push_back(n);
    }
    {
        // Fingers up, thumb to the left; the photo's bottom edge is the wrist.
        HandNotes n;
        n.name = "medium";
        n.path = openCvDoc("opencv4/html/Histogram_Comparison_Source_0.jpg");
        n.wristA = {75, 180};
        n.wristB = {145, 180};
        n.thumb = {{77, 104}, {64, 181}, {-1, 181}, {-1, 100}};
        n.thumbPivot = {70, 138};
        n.fingers = {Polygon{{45, -1}, {90, -1}, {90, 76}, {76, 104}, {45, 104}},
                     Polygon{{90, -1}, {118, -1}, {117, 76}, {90, 76}},
                     Polygon{{118, -1}, {170, -1}, {145, 86}, {117, 76}},
                     Polygon{{170, -1}, {201, -1}, {201, 110}, {152, 104}, {145, 86}}};
        n.fingerPivots = {Point{83, 90}, Point{104, 76}, Point{131, 80}, Point{149, 95}};
        n.minRedness = 0.10;
        notes.push_back(n);
    }
    {
        HandNotes n;
        n.name = "dark";
        n.path = openCvDoc("opencv4/html/Histogram_Comparison_Source_1.jpg");
        n.wristA = {50, 172};
        n.wristB = {135, 172};
        n.thumb = {{74, 86}, {56, 152}, {50, 173}, {-1, 173}, {-1, 86}};
        n.thumbPivot = {65, 120};
        n.fingers = {Polygon{{62, -1}, {96, -1}, {97, 67}, {75, 84}, {62, 84}},
                     Polygon{{96, -1}, {125, -1}, {122, 70}, {97, 67}},
                     Polygon{{125, -1}, {185, -1}, {141, 80}, {122, 70}},
                     Polygon{{185, -1}, {201, -1}, {201, 105}, {150, 99}, {141, 80}}};
        n.fingerPivots = {Point{86, 76}, Point{110, 69}, Point{131, 75}, Point{146, 90}};
        n.minRedness = 0.12;
        notes.push_back(n);
    }
    return notes;
}

// Near black the ratio is noise: such pixels are never skin.
double redness(const float* p) {
    const float sum = p[0] + p[1] + p[2];
    return sum < 100 ? 0.0 : (p[0] - p[2]) / sum;
}

// Keeps the largest 4-connected region of `mask` and fills its holes.
void keepLargestFilled(std::vector<uint8_t>& mask, int width, int height) {
    std::vector<int> label(mask.size(), 0);
    std::vector<size_t> stack;
    auto flood = [&](size_t start, uint8_t value, int id) {
        size_t count = 0;
        stack.assign(1, start);
        label[start] = id;
        while (!stack.empty()) {
            const size_t i = stack.back();
            stack.pop_back();
            ++count;
            const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
            const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
            for (int k = 0; k < 4; ++k) {
                if (nx[k] < 0 || ny[k] < 0 || nx[k] >= width || ny[k] >= height) continue;
                const size_t j = static_cast<size_t>(ny[k]) * width + nx[k];
                if (label[j] == 0 && mask[j] == value) {
                    label[j] = id;
                    stack.push_back(j);
                }
            }
        }
        return count;
    };
    int best = 0, id = 0;
    size_t bestCount = 0;
    for (size_t i = 0; i < mask.size(); ++i)
        if (mask[i] && label[i] == 0) {
            const size_t count = flood(i, 1, ++id);
            if (count > bestCount) bestCount = count, best = id;
        }
    // Background reached from the border stays background; any other is a hole.
    for (int x = 0; x < width; ++x)
        for (int y : {0, height - 1}) {
            const size_t i = static_cast<size_t>(y) * width + x;
            if (!mask[i] && label[i] == 0) flood(i, 0, -1);
        }
    for (int y = 0; y < height; ++y)
        for (int x : {0, width - 1}) {
            const size_t i = static_cast<size_t>(y) * width + x;
            if (!mask[i] && label[i] == 0) flood(i, 0, -1);
        }
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = mask[i] ? label[i] == best : label[i] != -1;
}

// Each pixel set when at least `votes` of the 5 x 5 around it are (past the edge of the
// photo, the edge pixel repeats, so that a hand cut by the edge keeps its edge).
void vote(std::vector<uint8_t>& mask, int width, int height, int votes) {
    std::vector<uint8_t> out(mask.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int n = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    const int px = std::clamp(x + dx, 0, width - 1);
                    const int py = std::clamp(y + dy, 0, height - 1);
                    n += mask[static_cast<size_t>(py) * width + px];
                }
            out[static_cast<size_t>(y) * width + x] = n >= votes;
        }
    mask.swap(out);
}

// Rounds off the single pixels a threshold leaves on the edge and removes strands thinner
// than five pixels (a dark line of the background touching the hand).
void smooth(std::vector<uint8_t>& mask, int width, int height) {
    vote(mask, width, height, 13);  // majority
    vote(mask, width, height, 25);  // erode
    vote(mask, width, height, 1);   // dilate
}

uint8_t partOf(const HandNotes& notes, Point p) {
    if (inside(notes.thumb, p)) return kThumb;
    for (int f = 0; f < 4; ++f)
        if (inside(notes.fingers[f], p)) return static_cast<uint8_t>(kIndex + f);
    return kPalm;
}

void measure(HandPhoto& photo) {
    const HandNotes& n = photo.notes;
    photo.wristCentre = (n.wristA + n.wristB) * 0.5;
    photo.across = (n.wristB - n.wristA) * (1.0 / length(n.wristB - n.wristA));
    photo.axis = {photo.across.y, -photo.across.x};
    if (dot(photo.axis, n.fingerPivots[1] - photo.wristCentre) < 0) photo.axis = photo.axis * -1.0;
    photo.wristHalfWidth = length(n.wristB - n.wristA) / 2;
    // The skin of the arm: the palm within a fifth of the hand's length of the wrist.
    const double reach = 0.25 * length(n.fingerPivots[1] - photo.wristCentre);
    double sum[3] = {0, 0, 0};
    long count = 0;
    for (int y = 0; y < photo.picture.height; ++y)
        for (int x = 0; x < photo.picture.width; ++x) {
            if (photo.partAt(x, y) != kPalm) continue;
            const Point p{x + 0.5, y + 0.5};
            if (dot(p - photo.wristCentre, photo.axis) > reach) continue;
            const float* c = photo.picture.at(x, y);
            for (int k = 0; k < 3; ++k) sum[k] += c[k];
            ++count;
        }
    for (int k = 0; k < 3; ++k) photo.skin[k] = static_cast<float>(sum[k] / std::max(1L, count));
}

HandNotes scaled(const HandNotes& notes, double k) {
    HandNotes out = notes;
    const auto scale = [k](Point& p) { p = p * k; };
    scale(out.wristA), scale(out.wristB), scale(out.thumbPivot);
    for (Point& p : out.thumb) scale(p);
    for (Polygon& finger : out.fingers)
        for (Point& p : finger) scale(p);
    for (Point& p : out.fingerPivots) scale(p);
    return out;
}

}  // namespace

const std::vector<HandNotes>& handNotes() {
    static const std::vector<HandNotes> notes = makeNotes();
    return notes;
}

bool loadHandPhoto(const HandNotes& given, HandPhoto& out, std::string& error) {
    if (!loadImage(given.path, out.picture, error)) return false;
    // A hand is drawn at a fifth of its photo's size or less: halving a large photo loses
    // nothing and spares time.
    HandNotes notes = given;
    while (std::max(out.picture.width, out.picture.height) > kLargestSide) {
        out.picture = halve(out.picture);
        notes = scaled(notes, 0.5);
    }
    out.notes = notes;
    const int w = out.picture.width, h = out.picture.height;
    const Point wristCentre = (notes.wristA + notes.wristB) * 0.5;
    const Point towardsFingers = notes.fingerPivots[1] - wristCentre;
    std::vector<uint8_t> mask(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Point p{x + 0.5, y + 0.5};
            // The wrist line cuts the forearm off; its side is the one away from the fingers.
            const Point wristDirection = notes.wristB - notes.wristA;
            const double side = (p.x - notes.wristA.x) * wristDirection.y -
                                (p.y - notes.wristA.y) * wristDirection.x;
            const double fingerSide =
                towardsFingers.x * wristDirection.y - towardsFingers.y * wristDirection.x;
            const bool handSide = side * fingerSide > 0;
            mask[static_cast<size_t>(y) * w + x] =
                handSide && redness(out.picture.at(x, y)) > notes.minRedness;
        }
    smooth(mask, w, h);
    keepLargestFilled(mask, w, h);
    out.parts.assign(mask.size(), kNone);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (mask[static_cast<size_t>(y) * w + x])
                out.parts[static_cast<size_t>(y) * w + x] = partOf(notes, {x + 0.5, y + 0.5});
    measure(out);
    return true;
}

}  // namespace roomclip
