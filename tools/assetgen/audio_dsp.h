#pragma once
// Small synthesis kit for the generated music and effects: oscillators, envelopes, a filter
// and a fixed-seed noise source, so that every run writes the same samples.
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assetgen::dsp {

constexpr double kPi = 3.14159265358979323846;

class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed != 0 ? seed : 1) {}
    // White noise in -1..1 (xorshift32).
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ / 2147483648.0 - 1.0;
    }

private:
    uint32_t state_;
};

inline double midiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Rounds off the jumps of the saw and pulse so the upper notes do not alias.
inline double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Each call returns the current value and advances by dt cycles (frequency / sample rate).
struct Oscillator {
    double phase = 0.0;

    double saw(double dt) {
        const double v = 2.0 * phase - 1.0 - polyBlep(phase, dt);
        advance(dt);
        return v;
    }
    double pulse(double dt, double width) {
        double v = phase < width ? 1.0 : -1.0;
        v += polyBlep(phase, dt);
        v -= polyBlep(std::fmod(phase + 1.0 - width, 1.0), dt);
        advance(dt);
        return v;
    }
    double sine(double dt) {
        const double v = std::sin(2.0 * kPi * phase);
        advance(dt);
        return v;
    }
    void advance(double dt) { phase = phase + dt - std::floor(phase + dt); }
};

// Two-pole state-variable filter (trapezoidal form: stays stable under fast cutoff sweeps).
struct Svf {
    struct Out {
        double low, band, high;
    };
    double ic1 = 0.0, ic2 = 0.0;

    Out process(double x, double cutoffHz, double q, double sampleRate) {
        const double g = std::tan(kPi * std::clamp(cutoffHz, 10.0, 0.45 * sampleRate) / sampleRate);
        const double k = 1.0 / q;
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = x - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        return {v2, v1, x - k * v1 - v2};
    }
};

// Attack, decay to the sustain level while held, then a linear release; times in seconds.
struct Adsr {
    double attack, decay, sustain, release;

    double held(double t) const {
        if (t < attack) return t / attack;
        if (t < attack + decay) return 1.0 - (1.0 - sustain) * (t - attack) / decay;
        return sustain;
    }
    double at(double t, double length) const {
        if (t < length) return held(t);
        const double r = (t - length) / release;
        return r >= 1.0 ? 0.0 : held(length) * (1.0 - r);
    }
};

// A percussive strike: a few milliseconds of rise, then an exponential fall.
inline double strike(double t, double fall, double rise = 0.002) {
    return std::min(1.0, t / rise) * std::exp(-t / fall);
}

}  // namespace assetgen::dsp
