// The game's theme: sixteen bars in A minor at 120 beats per minute, bass, pad, lead,
// arpeggio and a synthesised drum kit, rendered straight into a seamless loop.
#include "tools/assetgen/audio_dsp.h"
#include "tools/assetgen/audio_synth.h"

#include <sstream>
#include <string>

namespace assetgen {
namespace {

using namespace dsp;

constexpr int kBeat = kMusicRate / 2;  // frames per beat at 120 beats per minute
constexpr int kEighth = kBeat / 2;
constexpr double kSixteenth = kBeat / 4.0;
constexpr int kBar = 4 * kBeat;
constexpr int kBars = 16;
constexpr int kSecondHalf = 8;  // the bar where the fuller second section starts

struct Pan {
    double l, r;
};

// Equal-power position, -1 hard left to 1 hard right.
Pan panAt(double position) {
    const double angle = (position + 1.0) * kPi / 4.0;
    return {std::cos(angle), std::sin(angle)};
}

void addFrame(StereoLoop& bus, std::size_t frame, double value, Pan pan) {
    const std::size_t i = frame % bus.frames();
    bus.left[i] += static_cast<float>(value * pan.l);
    bus.right[i] += static_cast<float>(value * pan.r);
}

struct Chord {
    int bass;
    int tones[3];
};

// i-VI-III-VII, then through iv to the major dominant; the second half climbs and ends on
// the dominant again so the loop falls back onto A minor.
const Chord kChords[kBars] = {
    {45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}},
    {45, {57, 60, 64}}, {41, {57, 60, 65}}, {38, {57, 62, 65}}, {40, {56, 59, 64}},
    {41, {57, 60, 65}}, {43, {55, 59, 62}}, {40, {55, 59, 64}}, {45, {57, 60, 64}},
    {38, {57, 62, 65}}, {45, {57, 60, 64}}, {41, {57, 60, 65}}, {40, {56, 59, 64}},
};

// One bar per line; each note is name:length in eighths, "r" is a rest.
const char* const kMelody[kBars] = {
    "E5:2 A5:2 G5:1 E5:1 C5:2", "F5:3 E5:1 C5:2 A4:2",
    "G4:2 C5:2 E5:2 G5:2",      "D5:6 r:2",
    "E5:2 A5:2 B5:1 C6:1 B5:2", "A5:3 G5:1 F5:2 E5:2",
    "D5:2 F5:2 A5:2 F5:1 D5:1", "B4:2 E5:2 G#5:4",
    "A5:4 C6:2 A5:2",           "B5:4 D6:2 B5:2",
    "G5:3 E5:1 B4:2 E5:2",      "C6:2 B5:2 A5:4",
    "F5:2 A5:2 D6:3 C6:1",      "C6:2 B5:1 A5:1 E5:4",
    "F5:2 A5:2 C6:2 A5:2",      "G#5:2 B5:2 E5:2 G#5:1 B5:1",
};

struct Note {
    std::size_t start;   // frame
    std::size_t length;  // frames held
    int pitch;           // MIDI note number
};

// "G#5" -> 80; anything else (the rest "r") -> -1.
int pitchOf(const std::string& name) {
    static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return -1;
    const bool sharp = name[1] == '#';
    const int octave = name[sharp ? 2 : 1] - '0';
    return 12 * (octave + 1) + kSemitone[name[0] - 'A'] + (sharp ? 1 : 0);
}

std::vector<Note> melody() {
    std::vector<Note> notes;
    for (int bar = 0; bar < kBars; ++bar) {
        std::istringstream tokens(kMelody[bar]);
        std::string token;
        std::size_t at = static_cast<std::size_t>(bar) * kBar;
        while (tokens >> token) {
            const std::size_t colon = token.find(':');
            const std::size_t length = std::stoul(token.substr(colon + 1)) * kEighth;
            const int pitch = pitchOf(token.substr(0, colon));
            if (pitch >= 0) notes.push_back({at, length, pitch});
            at += length;
        }
    }
    return notes;
}

std::size_t sixteenth(int bar, double step) {
    return static_cast<std::size_t>(bar) * kBar + static_cast<std::size_t>(step * kSixteenth + 0.5);
}

// Renders `seconds` of a voice, one sample per call of `voice(t)`, from `start` onwards.
template <typename Voice>
void render(StereoLoop& bus, std::size_t start, double seconds, Pan pan, Voice voice) {
    const auto frames = static_cast<std::size_t>(seconds * kMusicRate);
    for (std::size_t i = 0; i < frames; ++i)
        addFrame(bus, start + i, voice(static_cast<double>(i) / kMusicRate), pan);
}

double seconds(std::size_t frames) { return static_cast<double>(frames) / kMusicRate; }

// --- drums -----------------------------------------------------------------------------

void kick(StereoLoop& bus, std::size_t at) {
    Oscillator body;
    Noise click(0x6b1c);
    render(bus, at, 0.45, panAt(0.0), [&](double t) {
        const double hz = 48.0 + 120.0 * std::exp(-t / 0.03);
        return 0.75 * body.sine(hz / kMusicRate) * strike(t, 0.22, 0.001) +
               0.25 * click.next() * strike(t, 0.003, 0.0005);
    });
}

void snare(StereoLoop& bus, std::size_t at, double gain) {
    Oscillator body;
    Noise noise(0x5a4e);
    Svf filter;
    render(bus, at, 0.32, panAt(0.08), [&](double t) {
        const Svf::Out n = filter.process(noise.next(), 3200.0, 0.6, kMusicRate);
        const double tone = body.sine((175.0 + 40.0 * std::exp(-t / 0.02)) / kMusicRate);
        return gain *
               (0.5 * tone * strike(t, 0.05) + 0.65 * (n.band + 0.4 * n.high) * strike(t, 0.1));
    });
}

void hat(StereoLoop& bus, std::size_t at, double gain, bool open) {
    Noise noise(0x4a7);
    Svf filter;
    const double fall = open ? 0.14 : 0.022;
    render(bus, at, open ? 0.5 : 0.12, panAt(-0.3), [&](double t) {
        return 0.4 * gain * filter.process(noise.next(), 7500.0, 0.8, kMusicRate).high *
               strike(t, fall, 0.001);
    });
}

void crash(StereoLoop& bus, std::size_t at) {
    Noise noise(0xc4a5);
    Svf filter;
    render(bus, at, 2.4, panAt(0.25), [&](double t) {
        const Svf::Out n = filter.process(noise.next(), 5200.0, 0.6, kMusicRate);
        return 0.18 * (n.high + 0.4 * n.band) * strike(t, 0.7, 0.003);
    });
}

void drumBar(StereoLoop& bus, int bar) {
    const bool full = bar >= kSecondHalf;
    if (bar % kSecondHalf == 0) crash(bus, sixteenth(bar, 0));
    for (double step : {0.0, 8.0, 10.0}) kick(bus, sixteenth(bar, step));
    if (full) kick(bus, sixteenth(bar, 3));
    snare(bus, sixteenth(bar, 4), 1.0);
    snare(bus, sixteenth(bar, 12), 1.0);
    for (int step = 0; step < 16; step += full ? 1 : 2) {
        const bool open = step == 14 && bar % 2 == 1;
        hat(bus, sixteenth(bar, step), step % 2 == 0 ? 1.0 : 0.55, open);
    }
    // A snare run into the next section (and into the loop's start).
    if (bar % kSecondHalf == kSecondHalf - 1)
        for (int step = 13; step < 16; ++step)
            snare(bus, sixteenth(bar, step), 0.35 + 0.2 * (step - 12));
}

// --- pitched voices --------------------------------------------------------------------

void bassNote(StereoLoop& bus, const Note& note) {
    Oscillator saw, sub;
    Svf filter;
    const Adsr env{0.004, 0.15, 0.7, 0.04};
    const double len = seconds(note.length);
    const double dt = midiToHz(note.pitch) / kMusicRate;
    render(bus, note.start, len + env.release, panAt(0.0), [&](double t) {
        const double raw = 0.7 * saw.saw(dt) + 0.6 * sub.sine(dt / 2.0);
        const double cutoff = 220.0 + 1500.0 * std::exp(-t / 0.1);
        return 0.32 * filter.process(raw, cutoff, 1.3, kMusicRate).low * env.at(t, len);
    });
}

void bassLine(StereoLoop& bus, int bar) {
    struct Step {
        int eighth, length, interval;
    };
    // A pushing, syncopated figure first; straight eighths for the second section.
    static const Step kFirst[] = {{0, 3, 0}, {3, 1, 0}, {4, 1, 12},
                                  {5, 1, 0}, {6, 1, 7}, {7, 1, 12}};
    static const Step kSecond[] = {{0, 1, 0}, {1, 1, 0},  {2, 1, 12}, {3, 1, 0},
                                   {4, 1, 0}, {5, 1, 12}, {6, 1, 7},  {7, 1, 12}};
    const bool full = bar >= kSecondHalf;
    const Step* steps = full ? kSecond : kFirst;
    const int count = full ? 8 : 6;
    for (int i = 0; i < count; ++i) {
        const std::size_t start = static_cast<std::size_t>(bar) * kBar + steps[i].eighth * kEighth;
        const auto length = static_cast<std::size_t>(steps[i].length * kEighth * 0.85);
        bassNote(bus, {start, length, kChords[bar].bass + steps[i].interval});
    }
}

void padChord(StereoLoop& bus, int bar) {
    const Adsr env{0.35, 0.6, 0.8, 0.6};
    const double len = seconds(kBar) - 0.1;
    for (int tone : kChords[bar].tones) {
        // Each side slightly detuned from the other for width.
        for (double side : {-1.0, 1.0}) {
            Oscillator a, b;
            Svf filter;
            const double hz = midiToHz(tone + side * 0.08);
            render(bus, static_cast<std::size_t>(bar) * kBar, len + env.release, panAt(0.8 * side),
                   [&](double t) {
                       const double raw = a.saw(hz / kMusicRate) + b.saw(hz * 1.004 / kMusicRate);
                       return 0.055 * filter.process(raw, 1300.0, 0.7, kMusicRate).low *
                              env.at(t, len);
                   });
        }
    }
}

void leadNote(StereoLoop& bus, const Note& note) {
    Oscillator a, b, c;
    Svf filter;
    const Adsr env{0.012, 0.25, 0.65, 0.12};
    const double len = seconds(note.length) - 0.02;
    const double hz = midiToHz(note.pitch);
    render(bus, note.start, len + env.release, panAt(0.15), [&](double t) {
        // Vibrato eases in on held notes only.
        const double depth = 0.004 * std::clamp((t - 0.2) / 0.3, 0.0, 1.0);
        const double f = hz * (1.0 + depth * std::sin(2.0 * kPi * 5.5 * t)) / kMusicRate;
        const double raw = 0.5 * a.saw(f * 1.003) + 0.5 * b.saw(f / 1.003) + 0.3 * c.pulse(f, 0.5);
        const double cutoff = 1000.0 + 3000.0 * std::exp(-t / 0.2);
        return 0.4 * filter.process(raw, cutoff, 1.0, kMusicRate).low * env.at(t, len);
    });
}

void arpeggioBar(StereoLoop& bus, int bar) {
    static const int kOrder[4] = {0, 1, 2, 1};
    for (int step = 0; step < 16; ++step) {
        Oscillator osc;
        Svf filter;
        const double dt = midiToHz(kChords[bar].tones[kOrder[step % 4]] + 12) / kMusicRate;
        render(bus, sixteenth(bar, step), 0.25, panAt(-0.4), [&](double t) {
            return 0.1 * filter.process(osc.pulse(dt, 0.25), 2600.0, 0.8, kMusicRate).low *
                   strike(t, 0.08);
        });
    }
}

// Ping-pong echo of `send` mixed into `out`. Runs round the loop twice so that the echoes
// of the last bars are already there at the start of the first pass.
void addEcho(const StereoLoop& send, StereoLoop& out, std::size_t delay, double feedback,
             double level) {
    const std::size_t n = send.frames();
    std::vector<float> left(n), right(n);
    double damp = 0.0;
    for (int lap = 0; lap < 2; ++lap)
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t j = (i + n - delay) % n;
            damp += 0.35 * (0.5 * (send.left[j] + send.right[j]) + feedback * right[j] - damp);
            left[i] = static_cast<float>(damp);
            right[i] = static_cast<float>(feedback * left[j]);
        }
    for (std::size_t i = 0; i < n; ++i) {
        out.left[i] += static_cast<float>(level * left[i]);
        out.right[i] += static_cast<float>(level * right[i]);
    }
}

}  // namespace

StereoLoop composeMusic() {
    StereoLoop mix(static_cast<std::size_t>(kBars) * kBar);
    StereoLoop send(mix.frames());
    for (int bar = 0; bar < kBars; ++bar) {
        drumBar(mix, bar);
        bassLine(mix, bar);
        padChord(mix, bar);
        if (bar >= kSecondHalf) arpeggioBar(send, bar);
    }
    for (const Note& note : melody()) leadNote(send, note);
    addEcho(send, mix, 3 * kEighth / 2, 0.4, 0.35);
    for (std::size_t i = 0; i < mix.frames(); ++i) {
        mix.left[i] += send.left[i];
        mix.right[i] += send.right[i];
    }
    return mix;
}

}  // namespace assetgen
