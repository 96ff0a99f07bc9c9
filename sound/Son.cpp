#include "sound/Son.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

Mix_Music* music = nullptr;
Mix_Chunk* sound1 = nullptr;
Mix_Chunk* sound2 = nullptr;

namespace {

// Set by the audio thread inside the finished hook, consumed by the main thread.
std::atomic<bool> musicEnded{false};
bool soundOff = false;
int volume = MIX_MAX_VOLUME;
bool musicQuiet = false;

// The set volume on both effects and on the music, once the device is open.
void applyVolume() {
    if (soundOff || Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) return;
    for (Mix_Chunk* chunk : {sound1, sound2})
        if (chunk) Mix_VolumeChunk(chunk, volume);
    Mix_VolumeMusic(musicQuiet ? volume / 4 : volume);
}

Mix_Chunk* loadWav(const char* file) {
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(file, "rb"), 1);
    if (chunk == nullptr) std::fprintf(stderr, "Unable to load WAV file: %s\n", SDL_GetError());
    return chunk;
}

// The mixer plays on SDL's audio thread. Left running into exit, that thread goes on mixing
// while the program's statics are destroyed and, on Windows, while the C runtime tears itself
// down under it; closing the device first stops and joins it.
void closeAudio() {
    while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) Mix_CloseAudio();
}

[[noreturn]] void failOnStdout(const char* format) {
    std::printf(format, SDL_GetError());
    std::fflush(stdout);
    std::exit(1);
}

void playChunk(Mix_Chunk* chunk) {
    if (soundOff) return;
    pumpSon();
    // A chunk that failed to load is null; the mixer refuses it with its own error text.
    if (Mix_PlayChannelTimed(-1, chunk, 0, -1) == -1)
        std::fprintf(stderr, "Unable to play WAV file: %s\n", SDL_GetError());
}

}  // namespace

void setSoundOff(bool off) { soundOff = off; }

void setSoundVolume(int level) {
    volume = level < 0 ? 0 : level > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : level;
    applyVolume();
}

void initSon() {
    if (soundOff) return;
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 4096) != 0) {
        std::fprintf(stderr, "Unable to initialize audio: %s\n", SDL_GetError());
        std::fputs("Start the game with --mute to play without sound.\n", stderr);
        std::exit(1);
    }
    static const bool closedAtExit = std::atexit(closeAudio) == 0;
    (void)closedAtExit;
    sound1 = loadWav("explosion.wav");
    sound2 = loadWav("sound.wav");
    music = Mix_LoadMUS("music.ogg");
    if (music == nullptr) failOnStdout("Unable to load Ogg file: %s\n");
    applyVolume();
}

void playBackgroundMusic() {
    if (soundOff) return;
    if (Mix_PlayMusic(music, -1) == -1) failOnStdout("Unable to play Ogg file: %s\n");
    Mix_HookMusicFinished(musicFinished);
}

void musicFinished() { musicEnded.store(true); }

void playSound1() { playChunk(sound1); }

void playSound2() { playChunk(sound2); }

void setMusicQuiet(bool quiet) {
    musicQuiet = quiet;
    applyVolume();
}

void pumpSon() {
    if (!musicEnded.exchange(false) || music == nullptr) return;
    // The mixer has already let the stream go; halting again costs nothing and covers a
    // hook that ran for some other reason.
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    music = nullptr;
}
