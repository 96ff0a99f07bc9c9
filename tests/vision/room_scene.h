// A painted room for the room recognition: a textured wall with a bright window, two people
// (shirt and face) and their hands, drawn as palm, fingers and forearm, with camera noise.
// Each drawn hand reports the centre of its own pixels (the forearm left out) and its sign.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "vision/Picture.h"
#include "vision/WebCam.h"

namespace roomscene {

struct Colour {
    int r, g, b;
};

constexpr Colour kLightSkin{205, 150, 125};
constexpr Colour kDarkSkin{125, 82, 60};

struct HandPose {
    int sign = vision::kPaper;
    // The palm's centre, frame coordinates, and its radius.
    int x = 80, y = 130, radius = 11;
    // The forearm from the wrist down to the picture's bottom: none, bare, or in a sleeve.
    enum Arm { NONE, BARE, SLEEVE } arm = NONE;
    // Paper with its fingers held together, side by side, rather than spread.
    bool flat = false;
};

struct DrawnHand {
    bool drawn = false;
    double x = 0, y = 0;
};

class Scene {
public:
    explicit Scene(uint32_t seed = 5) : rng_(seed) {}

    // The room and both people without hands; `gain` scales each channel (the light).
    void room(CWebCam& cam, const float gain[3] = nullptr) {
        gain_[0] = gain ? gain[0] : 1.0f;
        gain_[1] = gain ? gain[1] : 1.0f;
        gain_[2] = gain ? gain[2] : 1.0f;
        frame_ = &cam.images[0];
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) put(x, y, wall(x, y));
        for (int person = 0; person < 2; ++person) {
            const int cx = person == 0 ? 240 : 80;
            for (int y = 60; y < kFrameHeight; ++y)
                for (int x = cx - 45; x <= cx + 45; ++x) put(x, y, Colour{60, 70, 110});
            ellipse(cx, 35, 17, 22, person == 0 ? kLightSkin : kDarkSkin);
        }
    }

    // A hand of `skin` in the frame `room` painted last.
    DrawnHand hand(const HandPose& pose, Colour skin) {
        if (pose.arm != HandPose::NONE) {
            const Colour arm = pose.arm == HandPose::BARE ? skin : Colour{40, 40, 45};
            for (int y = pose.y + pose.radius; y < kFrameHeight; ++y)
                for (int x = pose.x - pose.radius * 2 / 3; x <= pose.x + pose.radius * 2 / 3; ++x)
                    put(x, y, arm);
        }
        count_ = sx_ = sy_ = 0;
        const int r = pose.radius;
        // The palm down to the wrist.
        ellipse(pose.x, pose.y, r, r * 5 / 4, skin, true);
        const double fingerLength = 2.2 * r;
        const int fingerHalfWidth = std::max(2, r / 4);
        if (pose.sign == vision::kScissors) {
            finger(pose, -0.35, fingerLength, fingerHalfWidth, skin);
            finger(pose, 0.35, fingerLength, fingerHalfWidth, skin);
        } else if (pose.sign == vision::kPaper && pose.flat) {
            for (int k = -3; k <= 3; k += 2)
                finger(pose, 0.0, fingerLength, fingerHalfWidth, skin, k * fingerHalfWidth);
            finger(pose, -1.3, 1.5 * r, fingerHalfWidth + 1, skin);
        } else if (pose.sign == vision::kPaper) {
            for (double angle : {-0.66, -0.22, 0.22, 0.66})
                finger(pose, angle, fingerLength, fingerHalfWidth, skin);
            finger(pose, -1.3, 1.5 * r, fingerHalfWidth + 1, skin);  // the thumb
        }
        DrawnHand drawn;
        drawn.drawn = true;
        drawn.x = static_cast<double>(sx_) / count_;
        drawn.y = static_cast<double>(sy_) / count_;
        return drawn;
    }

private:
    Colour wall(int x, int y) {
        if (x > 130 && x < 190 && y > 20 && y < 110) return Colour{250, 250, 245};  // a window
        const int shade = 150 + (x * 7 + y * 3) % 23 + ((x / 16 + y / 16) % 2) * 12;
        return Colour{shade, shade - 8, shade - 25};
    }

    void put(int x, int y, Colour c, bool hand = false) {
        if (x < 0 || y < 0 || x >= kFrameWidth || y >= kFrameHeight) return;
        std::normal_distribution<float> noise(0.0f, 2.5f);
        auto channel = [&](int v, int k) {
            const float value = v * gain_[k] + noise(rng_);
            return static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f));
        };
        Pixel& p = frame_->pixels[y][x];
        p.r = channel(c.r, 0);
        p.g = channel(c.g, 1);
        p.b = channel(c.b, 2);
        p.couleur = p.r | p.g << 8 | p.b << 16;
        if (hand && !painted_[y][x]) {
            painted_[y][x] = true;
            ++count_;
            sx_ += x;
            sy_ += y;
        }
    }

    void ellipse(int cx, int cy, int rx, int ry, Colour c, bool hand = false) {
        if (hand) clearPainted();
        for (int y = cy - ry; y <= cy + ry; ++y)
            for (int x = cx - rx; x <= cx + rx; ++x) {
                const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
                if (dx * dx + dy * dy <= 1.0) put(x, y, c, hand);
            }
    }

    // A finger from the palm's edge, `angle` radians from straight up, `across` pixels to the
    // side of the palm's centre.
    void finger(const HandPose& pose, double angle, double length, int halfWidth, Colour c,
                int across = 0) {
        const double ux = std::sin(angle), uy = -std::cos(angle);
        const double start = pose.radius * 0.8;
        for (double t = start; t <= start + length; t += 0.5)
            for (double s = across - halfWidth; s <= across + halfWidth; s += 0.5)
                put(static_cast<int>(std::lround(pose.x + ux * t - uy * s)),
                    static_cast<int>(std::lround(pose.y + uy * t + ux * s)), c, true);
    }

    void clearPainted() {
        for (auto& row : painted_)
            for (bool& b : row) b = false;
    }

    std::mt19937 rng_;
    float gain_[3] = {1, 1, 1};
    Image* frame_ = nullptr;
    bool painted_[kFrameHeight][kFrameWidth] = {};
    int64_t count_ = 0, sx_ = 0, sy_ = 0;
};

}  // namespace roomscene
