#include "tools/roomclip/clip_maker.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>

#include "tools/clipgen/noise.h"
#include "tools/clipgen/y4m_writer.h"
#include "tools/roomclip/hand_drawing.h"

namespace roomclip {

namespace {

using clipgen::kHalf;
using clipgen::kHeight;
using clipgen::kWidth;

constexpr int kBlurSteps = 5;
constexpr double kEdge = 2;  // a hand keeps this far from its half's edges

// One player's hand during one frame.
struct Placed {
    Shape shape = Shape::None;
    Point centre;  // at the middle of the frame's exposure
    Point motion;  // travel during the exposure (motion blur)
    double scale = 0.2;
    double tilt = 0;
    bool forearm = true;  // false: the forearm is out of sight (behind the other hand, say)
    bool otherHand = false;
};

struct FramePlan {
    Placed player[2];
    Light light;
};

// Nearly normal (mean 0, deviation 1): the sum of four bytes of a hash of the place and time,
// so that any frame can be drawn again alone.
float gaussian(unsigned seed, int frame, size_t sample) {
    const uint32_t h = clipgen::noiseAt(seed, frame, static_cast<uint32_t>(sample));
    const int sum = static_cast<int>((h & 255) + ((h >> 8) & 255) + ((h >> 16) & 255) + (h >> 24));
    return static_cast<float>(sum - 510) / 147.8f;
}

// FNV-1a: the same on every platform, unlike std::hash.
uint32_t nameHash(const std::string& name) {
    uint32_t h = 2166136261u;
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    return h;
}

double uniform(std::mt19937& rng, double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(rng);
}

// Moves the hand so that it lies whole inside its half.
void keepInside(HandPose& pose, int player) {
    const double left = player == 0 ? kHalf : 0;
    double x0, y0, x1, y1;
    handBounds(pose, x0, y0, x1, y1);
    if (x0 < left + kEdge) pose.centre.x += left + kEdge - x0;
    if (x1 > left + kHalf - kEdge) pose.centre.x -= x1 - (left + kHalf - kEdge);
    if (y0 < kEdge) pose.centre.y += kEdge - y0;
    if (y1 > kHeight - kEdge) pose.centre.y -= y1 - (kHeight - kEdge);
}

HandPose poseOf(const Placed& placed, const PlayerHand& hand, const Condition& condition,
                int player) {
    HandPose pose;
    pose.sprite = &hand.shape(placed.shape);
    pose.centre = placed.centre;
    pose.scale = placed.scale;
    pose.tilt = placed.tilt;
    pose.light = condition.handLight;
    const Sleeve& sleeve = condition.sleeves[player % condition.sleeves.size()];
    std::copy_n(sleeve.colour, 3, pose.arm.sleeve);
    pose.arm.sleeveFrom = sleeve.from;
    pose.arm.shown = placed.forearm;
    pose.otherHand = placed.otherHand;
    return pose;
}

// The whole plan of the clip; positions already kept inside the halves.
class Planner {
public:
    Planner(const Condition& condition, const PlayerHand* hands[2], const ClipSettings& settings)
        : condition_(condition),
          settings_(settings),
          rng_(settings.seed * 7919u + nameHash(condition.name)) {
        hands_[0] = hands[0];
        hands_[1] = hands[1];
    }

    std::vector<FramePlan> plan() {
        std::vector<FramePlan> frames;
        const int phase = settings_.fps;
        for (int i = 0; i < 2 * phase; ++i) {
            FramePlan f;
            if (i >= phase)
                for (int p = 0; p < 2; ++p) f.player[p] = calibrationPalm(p);
            frames.push_back(f);
        }
        if (settings_.script) {
            for (const ScriptSegment& segment : *settings_.script) addScripted(segment, frames);
            return frames;
        }
        const int hold = std::max(1, settings_.hold);
        const size_t blocks = std::max<size_t>(1, condition_.after.size());
        for (int start = 0; start < settings_.testFrames; start += hold) {
            Placed held[2];
            Point velocity[2];
            for (int p = 0; p < 2; ++p) held[p] = newPose(p, velocity[p]);
            for (int k = 0; k < hold && start + k < settings_.testFrames; ++k) {
                FramePlan f;
                const size_t block = static_cast<size_t>(start + k) * blocks / settings_.testFrames;
                if (!condition_.after.empty()) f.light = condition_.after[block];
                for (int p = 0; p < 2; ++p) {
                    f.player[p] = held[p];
                    f.player[p].centre = held[p].centre + velocity[p] * k;
                    place(f.player[p], p);
                }
                frames.push_back(f);
            }
        }
        return frames;
    }

private:
    void addScripted(const ScriptSegment& segment, std::vector<FramePlan>& frames) const {
        for (int k = 0; k < segment.frames; ++k) {
            const double t = segment.frames > 1 ? static_cast<double>(k) / (segment.frames - 1) : 0;
            FramePlan f;
            for (int p = 0; p < 2; ++p) {
                const ScriptHand& hand = segment.player[p];
                if (hand.shape == Shape::None) continue;
                Placed& c = f.player[p];
                c.shape = hand.shape;
                c.scale = scaleOf(p);
                c.centre = Point{p == 0 ? static_cast<double>(kHalf) : 0.0, 0} + hand.from +
                           (hand.to - hand.from) * t;
                place(c, p);
            }
            frames.push_back(f);
        }
    }

    double scaleOf(int player) const {
        return kCalibrationLength / hands_[player]->shape(Shape::PaperSpread).length;
    }

    Placed calibrationPalm(int player) const {
        Placed c;
        c.shape = Shape::PaperSpread;
        c.centre = {kMarkX[player], kMarkY};
        c.scale = scaleOf(player);
        return c;
    }

    Placed newPose(int player, Point& velocity) {
        Placed c;
        velocity = {0, 0};
        if (uniform(rng_, 0, 1) < 0.25) return c;
        c.shape = nextShape(player);
        c.scale = scaleOf(player) * uniform(rng_, 0.8, 1.2);
        c.tilt = uniform(rng_, -0.45, 0.45);
        const double left = player == 0 ? kHalf : 0;
        c.centre = {left + uniform(rng_, 30, 130), uniform(rng_, 60, 175)};
        c.forearm = uniform(rng_, 0, 1) >= 0.15;
        c.otherHand = uniform(rng_, 0, 1) < 0.3;
        if (uniform(rng_, 0, 1) < 0.25) {
            // A quick move: blurred by the exposure.
            const double speed = uniform(rng_, 8, 16), angle = uniform(rng_, 0, 2 * kPi);
            velocity = rotate({speed, 0}, angle);
            c.motion = velocity * 0.6;
        } else {
            velocity = {uniform(rng_, -2, 2), uniform(rng_, -2, 2)};
        }
        return c;
    }

    // Each player's shapes come from a shuffled deck of the four, so that every stretch of
    // the clip shows them about equally often.
    Shape nextShape(int player) {
        std::vector<Shape>& deck = decks_[player];
        if (deck.empty()) {
            deck.assign(std::begin(kHandShapes), std::end(kHandShapes));
            std::shuffle(deck.begin(), deck.end(), rng_);
        }
        const Shape shape = deck.back();
        deck.pop_back();
        return shape;
    }

    void place(Placed& c, int player) const {
        if (c.shape == Shape::None) return;
        HandPose pose = poseOf(c, *hands_[player], condition_, player);
        // Inside at both ends of the blur's travel.
        pose.centre = c.centre - c.motion * 0.5;
        keepInside(pose, player);
        pose.centre = pose.centre + c.motion;
        keepInside(pose, player);
        c.centre = pose.centre - c.motion * 0.5;
    }

    const Condition& condition_;
    const PlayerHand* hands_[2];
    ClipSettings settings_;
    std::mt19937 rng_;
    std::vector<Shape> decks_[2];
};

// Draws one frame; returns the truth in `truth`.
class FrameRenderer {
public:
    FrameRenderer(const Condition& condition, const PlayerHand* hands[2], const Backdrop& backdrop,
                  int fps, unsigned seed)
        : condition_(condition), backdrop_(backdrop), fps_(fps), seed_(seed) {
        hands_[0] = hands[0];
        hands_[1] = hands[1];
    }

    void render(const FramePlan& plan, int index, Image& picture, FrameReading& truth) {
        const bool blurred = plan.player[0].motion.x != 0 || plan.player[0].motion.y != 0 ||
                             plan.player[1].motion.x != 0 || plan.player[1].motion.y != 0;
        std::fill(coverage_.data.begin(), coverage_.data.end(), 0.0f);
        backdrop_.draw(static_cast<double>(index) / fps_, room_);
        picture = room_;
        if (!blurred) {
            drawHands(plan, 0.0, picture, 1.0f);
        } else {
            // The mean of the pictures along the exposure.
            std::fill(picture.data.begin(), picture.data.end(), 0.0f);
            for (int s = 0; s < kBlurSteps; ++s) {
                layer_ = room_;
                drawHands(plan, static_cast<double>(s) / (kBlurSteps - 1) - 0.5, layer_,
                          1.0f / kBlurSteps);
                for (size_t i = 0; i < picture.data.size(); ++i)
                    picture.data[i] += layer_.data[i] / kBlurSteps;
            }
        }
        truth = truthOf(plan, index, coverage_);
        spoil(picture, plan.light, index);
    }

private:
    // Both hands at `t` (-0.5 .. 0.5) of the exposure.
    void drawHands(const FramePlan& plan, double t, Image& picture, float weight) {
        for (int p = 0; p < 2; ++p) {
            const Placed& c = plan.player[p];
            if (c.shape == Shape::None) continue;
            HandPose pose = poseOf(c, *hands_[p], condition_, p);
            pose.centre = c.centre + c.motion * t;
            const int left = p == 0 ? kHalf : 0;
            drawHand(pose, left, left + kHalf, picture, coverage_, weight);
        }
    }

    FrameReading truthOf(const FramePlan& plan, int index, const Image& coverage) const {
        FrameReading f;
        f.frame = index;
        for (int p = 0; p < 2; ++p) {
            const int left = p == 0 ? kHalf : 0;
            double sx = 0, sy = 0;
            long n = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = left; x < left + kHalf; ++x)
                    if (coverage.at(x, y)[0] >= 0.5f) sx += x, sy += y, ++n;
            HalfReading& h = f.half[p];
            if (n == 0 || plan.player[p].shape == Shape::None) {
                h = emptyHalf(p);
                continue;
            }
            h.hand = true;
            h.x = sx / n - (p == 0 ? kHalf : 0);
            h.y = sy / n;
            h.sign = signOf(plan.player[p].shape);
            h.shape = nameOf(plan.player[p].shape);
            if (plan.player[p].motion.x != 0 || plan.player[p].motion.y != 0) h.shape += "+blur";
        }
        return f;
    }

    // The light, the sensor's noise and the camera's JPEG.
    void spoil(Image& picture, const Light& light, int index) const {
        for (size_t i = 0; i < picture.data.size(); ++i) {
            float& v = picture.data[i];
            v = std::clamp(v * light.gain[i % 3], 0.0f, 255.0f);
            const float sigma = condition_.noise * (0.6f + v / 320.0f);
            v += sigma * gaussian(seed_, index, i);
        }
        jpegRoundTrip(picture, condition_.jpegQuality);
    }

    const Condition& condition_;
    const PlayerHand* hands_[2];
    const Backdrop& backdrop_;
    int fps_;
    unsigned seed_;
    // Kept from frame to frame: a clip needs thousands of them.
    Image room_, layer_, coverage_{kWidth, kHeight, 1};
};

clipgen::Picture toPicture(const Image& image) {
    clipgen::Picture out(static_cast<size_t>(kWidth) * kHeight * 3);
    for (size_t i = 0; i < out.size(); ++i) out[i] = toByte(image.data[i]);
    return out;
}

std::string header(const Condition& condition, const ClipSettings& settings) {
    const int phase = settings.fps;
    return "# roomclip truth: condition " + condition.name + " (" + condition.description +
           ")\n# fps " + std::to_string(settings.fps) + ", calibration frames " +
           std::to_string(2 * phase) + " (hands down 0.." + std::to_string(phase - 1) +
           ", palms on the marks " + std::to_string(phase) + ".." + std::to_string(2 * phase - 1) +
           ")\n# frame N: H1 X1 Y1 SIGN1 H2 X2 Y2 SIGN2 SHAPE1 SHAPE2\n";
}

}  // namespace

const HandSprite& PlayerHand::shape(Shape s) const {
    for (const HandSprite& sprite : shapes)
        if (sprite.shape == s) return sprite;
    return shapes.front();
}

bool loadPlayerHand(const HandNotes& notes, PlayerHand& out, std::string& error) {
    HandPhoto photo;
    if (!loadHandPhoto(notes, photo, error)) return false;
    for (Shape s : kHandShapes) out.shapes.push_back(makeSprite(photo, s));
    return true;
}

bool makeClip(const Condition& condition, const PlayerHand* hands[2], const ClipSettings& settings,
              const std::string& y4mPath, const std::string& truthPath, std::string& error) {
    Backdrop backdrop;
    if (!backdrop.load(condition, error)) return false;
    const std::vector<FramePlan> plan = Planner(condition, hands, settings).plan();
    FrameRenderer renderer(condition, hands, backdrop, settings.fps, settings.seed);
    clipgen::Y4mWriter writer;
    if (!writer.open(y4mPath, settings.fps, false, error)) return false;
    std::ofstream truth(truthPath);
    truth << header(condition, settings);
    Image picture;
    FrameReading reading;
    for (size_t i = 0; i < plan.size(); ++i) {
        renderer.render(plan[i], static_cast<int>(i), picture, reading);
        if (!writer.write(toPicture(picture))) {
            error = "cannot write " + y4mPath + " (disk full?)";
            return false;
        }
        truth << formatTruth(reading) << "\n";
    }
    truth.close();
    if (!truth) {
        error = "cannot write " + truthPath;
        return false;
    }
    return writer.close(error);
}

bool previewFrame(const Condition& condition, const PlayerHand* hands[2],
                  const ClipSettings& settings, int frame, Image& out, std::string& error) {
    Backdrop backdrop;
    if (!backdrop.load(condition, error)) return false;
    const std::vector<FramePlan> plan = Planner(condition, hands, settings).plan();
    FrameRenderer renderer(condition, hands, backdrop, settings.fps, settings.seed);
    FrameReading reading;
    const size_t index = std::min(plan.size() - 1, static_cast<size_t>(std::max(0, frame)));
    renderer.render(plan[index], static_cast<int>(index), out, reading);
    return true;
}

}  // namespace roomclip
