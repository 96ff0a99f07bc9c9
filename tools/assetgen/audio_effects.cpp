// The two close-attack effects: an explosion (low thump, falling rumble, crackle) and a
// punch (a rising whoosh ending in a hit).
#include "tools/assetgen/audio_dsp.h"
#include "tools/assetgen/audio_synth.h"

namespace assetgen {
namespace {

using namespace dsp;

constexpr double kEffectPeak = 0.5;  // leaves room for the music under it

template <typename Voice>
std::vector<float> renderMono(double seconds, Voice voice) {
    std::vector<float> out(static_cast<std::size_t>(seconds * kEffectRate));
    const double fadeFrom = seconds - 0.04;  // always end on silence, whatever the tails do
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kEffectRate;
        const double fade = std::clamp((seconds - t) / (seconds - fadeFrom), 0.0, 1.0);
        out[i] = static_cast<float>(voice(t) * fade);
    }
    return out;
}

}  // namespace

std::vector<float> synthExplosion() {
    Oscillator thump;
    Noise noise(0xe7a1), sparks(0x51a5);
    Svf rumble, crackle;
    double spark = 0.0;
    std::vector<float> out = renderMono(1.6, [&](double t) {
        const double body =
            thump.sine((36.0 + 80.0 * std::exp(-t / 0.07)) / kEffectRate) * strike(t, 0.32);
        const double cutoff = 160.0 + 4200.0 * std::exp(-t / 0.18);
        const double roar =
            rumble.process(noise.next(), cutoff, 0.9, kEffectRate).low * strike(t, 0.45, 0.004);
        // Sparse sharp pops that thin out as the blast dies away.
        if (sparks.next() > 1.0 - 0.012 * std::exp(-t / 0.35))
            spark = sparks.next() * std::exp(-t / 0.3);
        spark *= 0.93;
        const double pops = crackle.process(spark, 2200.0, 1.5, kEffectRate).band;
        return 0.9 * body + 2.2 * roar + 0.8 * pops;
    });
    normalizePeak({&out}, kEffectPeak);
    return out;
}

std::vector<float> synthPunch() {
    constexpr double kHit = 0.17;  // the whoosh builds up to the hit at this time
    Oscillator thump;
    Noise air(0x3005), snap(0x5a9);
    Svf whooshFilter, snapFilter;
    std::vector<float> out = renderMono(0.6, [&](double t) {
        const double rise = std::clamp(t / kHit, 0.0, 1.0);
        const double centre = 350.0 * std::pow(8.0, rise);
        const double whooshEnv = t < kHit ? rise * rise : std::exp(-(t - kHit) / 0.03);
        const double whoosh =
            whooshFilter.process(air.next(), centre, 1.8, kEffectRate).band * whooshEnv;
        if (t < kHit) return 1.2 * whoosh;
        const double h = t - kHit;
        const double body = thump.sine((55.0 + 140.0 * std::exp(-h / 0.025)) / kEffectRate) *
                            strike(h, 0.11, 0.001);
        const Svf::Out s = snapFilter.process(snap.next(), 1800.0, 0.7, kEffectRate);
        return 1.2 * whoosh + 0.9 * body + 0.7 * (s.high + s.band) * strike(h, 0.025, 0.0005);
    });
    normalizePeak({&out}, kEffectPeak);
    return out;
}

void normalizePeak(std::vector<std::vector<float>*> buffers, double peak) {
    float loudest = 0.0f;
    for (const std::vector<float>* b : buffers)
        for (float v : *b) loudest = std::max(loudest, std::fabs(v));
    if (loudest <= 0.0f) return;
    const auto gain = static_cast<float>(peak / loudest);
    for (std::vector<float>* b : buffers)
        for (float& v : *b) v *= gain;
}

}  // namespace assetgen
