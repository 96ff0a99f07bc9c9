// Cost of the sound start-up (device, two WAVs, the music stream started) and of one effect
// triggered during a turn. Runs in the generated data folder with SDL_AUDIODRIVER=dummy
// unless another driver is set.
#include <benchmark/benchmark.h>

#include <SDL/SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "sound/Son.h"

namespace {

void closeSound() {
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_FreeChunk(sound1);
    Mix_FreeChunk(sound2);
    music = nullptr;
    sound1 = sound2 = nullptr;
    Mix_CloseAudio();
}

void BM_StartSound(benchmark::State& state) {
    for (auto _ : state) {
        initSon();
        playBackgroundMusic();
        state.PauseTiming();
        closeSound();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartSound)->Unit(benchmark::kMillisecond);

void BM_PlayEffect(benchmark::State& state) {
    initSon();
    playBackgroundMusic();
    for (auto _ : state) {
        playSound1();
        state.PauseTiming();
        Mix_HaltChannel(-1);  // keep a channel free for the next round
        state.ResumeTiming();
    }
    closeSound();
}
BENCHMARK(BM_PlayEffect)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (chdir(VORLAXIS_DATA_DIR) != 0) {
        std::perror(VORLAXIS_DATA_DIR);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}
