// The generated music and effects as the game's mixer decodes them: long enough, never
// silent, a loop without a click, and an effect on top of the music stays below full scale.
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/data_folder.h"

namespace {

constexpr int kRate = 22050;  // the device format the game opens: 16-bit stereo
constexpr double kFullScale = 32768.0;

struct Decoded {
    std::vector<int16_t> samples;  // interleaved left, right
    std::size_t frames() const { return samples.size() / 2; }
    double seconds() const { return static_cast<double>(frames()) / kRate; }
};

class GeneratedSound : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(Mix_OpenAudio(kRate, AUDIO_S16LSB, 2, 4096), 0) << SDL_GetError();
    }
    // Leaves the process without the mixer's thread, as the other cases expect.
    void TearDown() override {
        Mix_CloseAudio();
        SDL_Quit();
    }

    // Decodes a data file (WAV or Ogg) into the device format.
    static Decoded decode(const char* name) {
        const std::string path = testsupport::dataFile(name);
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
        Decoded d;
        EXPECT_NE(chunk, nullptr) << path << ": " << SDL_GetError();
        if (chunk == nullptr) return d;
        const auto* begin = reinterpret_cast<const int16_t*>(chunk->abuf);
        d.samples.assign(begin, begin + chunk->alen / 2);
        Mix_FreeChunk(chunk);
        return d;
    }
};

int peakOf(const Decoded& d) {
    int peak = 0;
    for (int16_t s : d.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

double rmsOf(const Decoded& d, std::size_t firstFrame, std::size_t frameCount) {
    const std::size_t end = std::min(d.frames(), firstFrame + frameCount);
    double sum = 0.0;
    for (std::size_t i = 2 * firstFrame; i < 2 * end; ++i)
        sum += static_cast<double>(d.samples[i]) * d.samples[i];
    return end > firstFrame ? std::sqrt(sum / (2.0 * (end - firstFrame))) / kFullScale : 0.0;
}

// The largest change between neighbouring frames of either channel, frame i to i + 1
// (the last frame to the first one when i is the last).
int jumpAt(const Decoded& d, std::size_t i) {
    const std::size_t j = (i + 1) % d.frames();
    return std::max(std::abs(d.samples[2 * j] - d.samples[2 * i]),
                    std::abs(d.samples[2 * j + 1] - d.samples[2 * i + 1]));
}

}  // namespace

TEST_F(GeneratedSound, MusicIsAnUnbrokenLoopOfAtLeastThirtySeconds) {
    const Decoded music = decode("music.ogg");
    ASSERT_GE(music.seconds(), 30.0);

    for (std::size_t at = 0; at + kRate / 2 <= music.frames(); at += kRate / 2)
        ASSERT_GT(rmsOf(music, at, kRate / 2), 0.02)
            << "near-silent half second at " << at / kRate << " s";

    std::vector<int> jumps;
    for (std::size_t i = 0; i + 1 < music.frames(); ++i) jumps.push_back(jumpAt(music, i));
    std::nth_element(jumps.begin(), jumps.begin() + jumps.size() * 99 / 100, jumps.end());
    EXPECT_LE(jumpAt(music, music.frames() - 1), jumps[jumps.size() * 99 / 100])
        << "a click where the loop restarts";
}

TEST_F(GeneratedSound, EffectsAreShortAndEndOnSilenceAndAnyOneOverTheMusicDoesNotClip) {
    const int musicPeak = peakOf(decode("music.ogg"));
    for (const char* name : {"explosion.wav", "sound.wav"}) {
        SCOPED_TRACE(name);
        const Decoded effect = decode(name);
        ASSERT_GT(effect.frames(), 0u);
        EXPECT_GT(effect.seconds(), 0.2);
        EXPECT_LT(effect.seconds(), 3.0) << "a close attack lasts well under three seconds";
        EXPECT_GT(rmsOf(effect, 0, kRate / 4), 0.05) << "quiet attack";
        EXPECT_LT(rmsOf(effect, effect.frames() - kRate / 100, kRate / 100), 0.002)
            << "ends on a click";
        EXPECT_LT(musicPeak + peakOf(effect), 32767);
    }
}
