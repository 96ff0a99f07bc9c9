// The sound start-up, its failures and what ends up in the mixed output. Every case runs in
// a child process: the failures end the process, and SDL's audio state must not leak from
// one case into the next.
#include "sound/Son.h"
#include "tests/sound/child_run.h"
#include "tests/support/data_folder.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wait.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using childrun::ChildResult;
using childrun::kBodyDone;
using childrun::slurp;

// A fresh working directory holding copies of the named generated data files.
class SoundDir {
public:
    explicit SoundDir(std::initializer_list<const char*> files) {
        for (const char* f : files) fs::copy_file(testsupport::dataFile(f), folder_.file(f));
    }

    fs::path path() const { return folder_.path(); }
    void write(const char* name, const std::string& bytes) const { folder_.write(name, bytes); }

private:
    testsupport::ScratchFolder folder_{"sound"};
};

ChildResult runInChild(const SoundDir& dir, const char* driver, const std::function<void()>& body) {
    return childrun::runInChild(dir.path(), driver, body);
}

int countOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Inside a child a failed check cannot reach the parent's test, so it becomes an exit code.
void require(bool condition, int code) {
    if (!condition) {
        std::fflush(nullptr);
        _exit(code);
    }
}

void startSound() {
    initSon();
    playBackgroundMusic();
}

int threadCount() {
    int n = 0;
    for ([[maybe_unused]] const auto& task : fs::directory_iterator("/proc/self/task")) ++n;
    return n;
}

}  // namespace

TEST(SoundStartUp, WithoutAnAudioDeviceItEndsWithExitCode1) {
    SoundDir dir{"music.ogg", "explosion.wav", "sound.wav"};
    const ChildResult r = runInChild(dir, "no-such-driver", startSound);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("Unable to initialize audio: ", 0), 0u) << r.err;
    const std::string hint = "\nStart the game with --mute to play without sound.\n";
    ASSERT_GT(r.err.size(), std::string("Unable to initialize audio: ").size() + hint.size())
        << "no SDL error text";
    EXPECT_EQ(r.err.substr(r.err.size() - hint.size()), hint);
    EXPECT_EQ(r.out, "");
}

TEST(SoundStartUp, WithTheSoundOffNothingNeedsAnAudioDeviceOrTheSoundFiles) {
    SoundDir empty{};
    const ChildResult r = runInChild(empty, "no-such-driver", [] {
        setSoundOff(true);
        startSound();
        playSound1();
        playSound2();
        pumpSon();
        require(Mix_QuerySpec(nullptr, nullptr, nullptr) == 0, 3);
    });
    EXPECT_EQ(r.exitCode, kBodyDone);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

// A start that fails after the sound is up ends with exit(): the audio thread must not still
// be mixing while the program's statics and the C runtime go.
TEST(SoundStartUp, AnExitWhileTheMusicPlaysClosesTheDeviceAndEndsItsThread) {
    SoundDir dir{"music.ogg", "explosion.wav", "sound.wav"};
    const ChildResult r = runInChild(dir, "dummy", [] {
        static int before = threadCount();
        // Registered before the sound's own, so it looks after that one has run.
        std::atexit([] {
            std::printf("open %d, threads added %d\n", Mix_QuerySpec(nullptr, nullptr, nullptr),
                        threadCount() - before);
        });
        startSound();
        require(Mix_QuerySpec(nullptr, nullptr, nullptr) == 1 && threadCount() > before, 3);
        std::exit(1);
    });
    EXPECT_EQ(r.exitCode, 1) << r.err;
#if defined(__SANITIZE_THREAD__)
    // ThreadSanitizer starts its background thread again in the forked child, at a time of its
    // own: only the device is looked at.
    EXPECT_EQ(r.out.rfind("open 0, ", 0), 0u) << r.out;
#else
    EXPECT_EQ(r.out, "open 0, threads added 0\n");
#endif
}

TEST(SoundStartUp, MissingOrUnreadableMusicEndsWithExitCode1OnStandardOutput) {
    SoundDir missing{"explosion.wav", "sound.wav"};
    const ChildResult m = runInChild(missing, "dummy", startSound);
    EXPECT_EQ(m.exitCode, 1);
    EXPECT_EQ(m.out.rfind("Unable to load Ogg file: ", 0), 0u) << m.out;
    EXPECT_EQ(m.err, "");

    SoundDir garbage{"explosion.wav", "sound.wav"};
    garbage.write("music.ogg", "this is not an Ogg stream\n");
    const ChildResult g = runInChild(garbage, "dummy", startSound);
    EXPECT_EQ(g.exitCode, 1);
    EXPECT_EQ(g.out.rfind("Unable to load Ogg file: ", 0), 0u) << g.out;
}

TEST(SoundStartUp, MusicThatCannotStartEndsWithExitCode1OnStandardOutput) {
    SoundDir dir{"music.ogg", "explosion.wav", "sound.wav"};
    const ChildResult r = runInChild(dir, "dummy", [] {
        initSon();
        Mix_FreeMusic(music);
        music = nullptr;
        playBackgroundMusic();
    });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.rfind("Unable to play Ogg file: ", 0), 0u) << r.out;
}

TEST(SoundEffects, MissingWavsAreReportedAndPlayingThemFailsWithoutEndingTheGame) {
    SoundDir dir{"music.ogg"};
    dir.write("sound.wav", "RIFF-but-not-really");
    const ChildResult r = runInChild(dir, "dummy", [] {
        startSound();
        require(sound1 == nullptr && sound2 == nullptr, 10);
        require(Mix_PlayingMusic() == 1, 11);
        playSound1();
        playSound2();
    });
    EXPECT_EQ(r.exitCode, kBodyDone) << r.err;
    EXPECT_EQ(countOf(r.err, "Unable to load WAV file: "), 2) << r.err;
    EXPECT_EQ(countOf(r.err, "Unable to play WAV file: "), 2) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST(SoundEffects, PlayOnFreeChannelsAndReportWhenNoneIsLeft) {
    SoundDir dir{"music.ogg", "explosion.wav", "sound.wav"};
    const ChildResult r = runInChild(dir, "dummy", [] {
        startSound();
        require(sound1 != nullptr && sound2 != nullptr, 10);
        playSound1();
        playSound2();
        require(Mix_Playing(-1) >= 1, 11);
        Mix_HaltChannel(-1);
        std::fprintf(stderr, "-- all channels busy --\n");
        // The explosion outlasts this loop by far, so the punch after it finds no channel.
        const int channels = Mix_AllocateChannels(-1);
        for (int i = 0; i < channels; ++i) playSound1();
        playSound2();
    });
    EXPECT_EQ(r.exitCode, kBodyDone) << r.err;
    const std::size_t marker = r.err.find("-- all channels busy --");
    ASSERT_NE(marker, std::string::npos) << r.err;
    EXPECT_EQ(countOf(r.err.substr(0, marker), "Unable to"), 0) << r.err;
    EXPECT_EQ(countOf(r.err.substr(marker), "Unable to play WAV file: "), 1) << r.err;
}

TEST(SoundMusic, TheSetVolumeReachesMusicAndEffectsAndAPauseQuartersIt) {
    SoundDir dir{"music.ogg", "explosion.wav", "sound.wav"};
    const ChildResult r = runInChild(dir, "dummy", [] {
        setSoundVolume(96);  // before the device opens, as the game sets it
        startSound();
        require(Mix_VolumeMusic(-1) == 96, 10);
        require(Mix_VolumeChunk(sound1, -1) == 96 && Mix_VolumeChunk(sound2, -1) == 96, 11);
        setMusicQuiet(true);
        require(Mix_VolumeMusic(-1) == 24, 12);
        setSoundVolume(500);
        require(Mix_VolumeMusic(-1) == MIX_MAX_VOLUME / 4, 13);
        setMusicQuiet(false);
        require(Mix_VolumeMusic(-1) == MIX_MAX_VOLUME, 14);
        setSoundVolume(0);
        require(Mix_VolumeChunk(sound1, -1) == 0 && Mix_VolumeMusic(-1) == 0, 15);
    });
    EXPECT_EQ(r.exitCode, kBodyDone) << r.err;
}

TEST(SoundMusic, FinishedHookDefersTheReleaseToTheMainThread) {
    SoundDir dir{"music.ogg", "explosion.wav", "sound.wav"};
    const ChildResult r = runInChild(dir, "dummy", [] {
        startSound();
        // The mixer calls the hook from its own thread.
        std::thread audio(musicFinished);
        audio.join();
        require(music != nullptr && Mix_PlayingMusic() == 1, 10);
        pumpSon();
        require(music == nullptr && Mix_PlayingMusic() == 0, 11);
        pumpSon();
        playSound2();  // the game goes on without its music
        require(Mix_Playing(-1) == 1, 12);
    });
    EXPECT_EQ(r.exitCode, kBodyDone) << r.err;
    EXPECT_EQ(r.err, "");
}

TEST(SoundMusic, MusicThatEndsIsReleasedByTheNextEffect) {
    SoundDir dir{"music.ogg", "explosion.wav", "sound.wav"};
    const ChildResult r = runInChild(dir, "dummy", [] {
        startSound();
        // Once instead of for ever, near its end, so that the mixer's own thread runs the hook.
        require(Mix_PlayMusic(music, 1) == 0, 10);
        Mix_SetMusicPosition(31.8);
        for (int i = 0; i < 250 && Mix_PlayingMusic() == 1; ++i) SDL_Delay(20);
        require(Mix_PlayingMusic() == 0, 11);
        require(music != nullptr, 12);
        playSound1();
        require(music == nullptr, 13);
    });
    EXPECT_EQ(r.exitCode, kBodyDone) << r.err;
    EXPECT_EQ(r.err, "");
}

TEST(SoundOutput, MusicPlusAnEffectReachTheDevice) {
    SoundDir dir{"music.ogg", "explosion.wav", "sound.wav"};
    const fs::path raw = dir.path() / "mixed.raw";
    const testsupport::ScopedEnv diskFile("SDL_DISKAUDIOFILE", raw.string());
    const testsupport::ScopedEnv diskDelay("SDL_DISKAUDIODELAY", "20");
    const ChildResult r = runInChild(dir, "disk", [] {
        startSound();
        playSound1();
        // About 0.6 s of output: the disk driver writes in real time, slower on a busy machine.
        const char* file = std::getenv("SDL_DISKAUDIOFILE");
        const auto written = [file] {
            std::error_code error;
            return std::filesystem::file_size(file, error) >= 22050u * 4 * 6 / 10 && !error;
        };
        testwait::waitUntil(written, testwait::kPatienceSeconds, std::chrono::milliseconds(20));
        Mix_CloseAudio();
    });
    ASSERT_EQ(r.exitCode, kBodyDone) << r.err;

    // 22050 Hz, 16-bit little-endian stereo, as the device was opened.
    const std::string bytes = slurp(raw);
    ASSERT_GE(bytes.size(), 4096u * 4) << "the disk driver wrote less than one chunk";
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    double sum = 0.0;
    int peak = 0;
    for (int16_t s : samples) {
        sum += static_cast<double>(s) * s;
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    const double rms = std::sqrt(sum / samples.size()) / 32768.0;
    EXPECT_GT(rms, 0.05) << "the mixed output is (nearly) silent";
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32767) << "the mix clips";
}
