#pragma once
// The generated sounds as sample buffers, before they are encoded into files.
#include <cstddef>
#include <vector>

namespace assetgen {

// A stereo loop: whatever is added past its end comes round to its start, so a note or
// an echo that crosses the loop point carries on seamlessly into the next pass.
struct StereoLoop {
    std::vector<float> left, right;

    explicit StereoLoop(std::size_t frames) : left(frames), right(frames) {}
    std::size_t frames() const { return left.size(); }
};

constexpr int kMusicRate = 44100;
constexpr int kEffectRate = 22050;  // the rate the game opens the audio device at

StereoLoop composeMusic();            // a 32 s loop in A minor at 120 beats per minute
std::vector<float> synthExplosion();  // mono, kEffectRate
std::vector<float> synthPunch();      // mono, kEffectRate

// Scales so that the loudest sample of all the buffers reaches `peak`.
void normalizePeak(std::vector<std::vector<float>*> buffers, double peak);

}  // namespace assetgen
