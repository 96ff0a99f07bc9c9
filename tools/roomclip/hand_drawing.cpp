#include "tools/roomclip/hand_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace roomclip {

namespace {

// Picture point to photo point and back, for one pose. The other hand is the photo's hand
// drawn at the opposite tilt and mirrored about the vertical through its centre.
struct Placement {
    Point centre, photoCentre;
    double scale;  // picture pixels per photo pixel
    double turn;   // photo direction + turn = picture direction
    bool mirrored;

    explicit Placement(const HandPose& pose) {
        const HandSprite& s = *pose.sprite;
        centre = pose.centre;
        photoCentre = s.centre;
        scale = pose.scale;
        mirrored = pose.otherHand;
        const Point up = rotate(Point{0, -1}, mirrored ? -pose.tilt : pose.tilt);
        turn = angleOf(up) - angleOf(s.axis);
    }
    Point mirror(Point p) const { return mirrored ? Point{2 * centre.x - p.x, p.y} : p; }
    Point toPhoto(Point p) const {
        return photoCentre + rotate(mirror(p) - centre, -turn) * (1 / scale);
    }
    Point toPicture(Point q) const {
        return mirror(centre + rotate(q - photoCentre, turn) * scale);
    }
};

// A smooth, repeatable texture in -1..1 for the arm's skin and cloth.
double ripple(double u, double v) {
    return 0.5 * std::sin(u * 0.9 + 1.7 * std::sin(v * 0.31)) * std::cos(v * 0.23 + u * 0.2) +
           0.5 * std::sin(v * 0.57 + 2.1 * std::cos(u * 0.44));
}

// The forearm's colour and coverage at photo point q; false when q is not on it.
bool armAt(const HandPose& pose, const Placement& place, Point q, float* rgb, float& cover) {
    const HandSprite& s = *pose.sprite;
    const double along = dot(q - s.wristCentre, s.axis * -1.0);
    const double acrossPos = dot(q - s.wristCentre, s.across);
    if (along < -2 / place.scale) return false;
    // Narrows from the width of the cut at the wrist to 85% of it within a wrist's width.
    const double half =
        s.wristHalfWidth * (1 - 0.15 * std::clamp(along / (2 * s.wristHalfWidth), 0.0, 1.0));
    cover =
        static_cast<float>(std::clamp((half - std::fabs(acrossPos)) * place.scale + 0.5, 0.0, 1.0) *
                           std::clamp(along * place.scale + 2, 0.0, 1.0));
    if (cover <= 0) return false;
    const double t = std::clamp(acrossPos / half, -1.0, 1.0);
    const double shade = 0.72 + 0.33 * std::sqrt(1 - t * t);
    const double u = along * place.scale, v = acrossPos * place.scale;
    const bool sleeve = along >= pose.arm.sleeveFrom * s.length;
    const double grain = sleeve ? 1 + 0.07 * ripple(u * 0.8, v) : 1 + 0.025 * ripple(u * 2, v * 2);
    for (int c = 0; c < 3; ++c)
        rgb[c] = static_cast<float>((sleeve ? pose.arm.sleeve[c] : s.skin[c]) * shade * grain);
    return true;
}

// The box, in picture pixels, of the hand and, when shown, the forearm (from the wrist to
// well past the picture's edge).
void drawnBounds(const HandPose& pose, const Placement& place, double& x0, double& y0, double& x1,
                 double& y1) {
    const HandSprite& s = *pose.sprite;
    std::vector<Point> corners = {
        s.boxMin, {s.boxMax.x, s.boxMin.y}, {s.boxMin.x, s.boxMax.y}, s.boxMax};
    if (pose.arm.shown) {
        const Point side = s.across * (s.wristHalfWidth + 2 / place.scale);
        const Point far = s.axis * (-1000 / place.scale);
        for (const Point& p : {s.wristCentre + side, s.wristCentre - side})
            corners.insert(corners.end(), {p, p + far});
    }
    x0 = y0 = 1e9;
    x1 = y1 = -1e9;
    for (const Point& q : corners) {
        const Point p = place.toPicture(q);
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
}

int levelFor(double scale) {
    int level = 0;
    while (scale * 2 <= 1.0 && level < 12) scale *= 2, ++level;
    return level;
}

}  // namespace

void drawHand(const HandPose& pose, int left, int right, Image& picture, Image& coverage,
              float weight) {
    const HandSprite& s = *pose.sprite;
    const Placement place(pose);
    const int level = std::min<int>(levelFor(place.scale), static_cast<int>(s.levels.size()) - 1);
    const Image& image = s.levels[level];
    const double unit = 1.0 / (1 << level);
    float hand[4], arm[3];
    double x0, y0, x1, y1;
    drawnBounds(pose, place, x0, y0, x1, y1);
    const int fromX = std::max(left, static_cast<int>(std::floor(x0)) - 2);
    const int toX = std::min(right, static_cast<int>(std::ceil(x1)) + 2);
    const int fromY = std::max(0, static_cast<int>(std::floor(y0)) - 2);
    const int toY = std::min(picture.height, static_cast<int>(std::ceil(y1)) + 2);
    for (int y = fromY; y < toY; ++y)
        for (int x = fromX; x < toX; ++x) {
            const Point q = place.toPhoto({x + 0.5, y + 0.5});
            const Point inSprite = (q - s.origin) * unit;
            if (inSprite.x > -1 && inSprite.y > -1 && inSprite.x < image.width + 1 &&
                inSprite.y < image.height + 1)
                sampleBilinear(image, inSprite.x, inSprite.y, hand);
            else
                hand[0] = hand[1] = hand[2] = hand[3] = 0;
            float armCover = 0;
            const bool onArm = pose.arm.shown && armAt(pose, place, q, arm, armCover);
            if (hand[3] <= 0 && !onArm) continue;
            float* p = picture.at(x, y);
            for (int c = 0; c < 3; ++c) {
                float under = p[c];
                if (onArm) under = armCover * pose.light * arm[c] + (1 - armCover) * under;
                p[c] = pose.light * hand[c] + (1 - hand[3]) * under;
            }
            coverage.at(x, y)[0] += weight * hand[3];
        }
}

void handBounds(const HandPose& pose, double& x0, double& y0, double& x1, double& y1) {
    const Placement place(pose);
    x0 = y0 = 1e9;
    x1 = y1 = -1e9;
    for (const Point& q : pose.sprite->outline) {
        const Point p = place.toPicture(q);
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
}

}  // namespace roomclip
