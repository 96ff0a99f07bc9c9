// Every one of the 37 data files, removed, emptied, cut in half, replaced by random bytes and
// replaced by a file of another kind, through the loader that reads it: keyframe files are
// named and refuse the moves (the game then ends with exit code 1), pictures are named and get
// their placeholder, the music ends the game with its message on standard output (except its
// first half, which still plays), a sound effect is named and the game goes on. Nothing may
// crash.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "animation/moves.h"
#include "render/backgrnd.h"
#include "render/lensflare.h"
#include "sound/Son.h"
#include "tests/sound/child_run.h"
#include "tests/support/data_folder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/working_folder.h"

namespace fs = std::filesystem;

namespace {

const char* const kScenePictures[] = {"earthmap1k.bmp", "sun.bmp", "croix.bmp", "halo.bmp"};
const char* const kSounds[] = {"music.ogg", "explosion.wav", "sound.wav"};

enum class Damage { Removed, Empty, Half, Random, OtherKind };
const Damage kDamages[] = {Damage::Removed, Damage::Empty, Damage::Half, Damage::Random,
                           Damage::OtherKind};

const char* describe(Damage d) {
    switch (d) {
    case Damage::Removed: return "removed";
    case Damage::Empty: return "empty";
    case Damage::Half: return "cut in half";
    case Damage::Random: return "random bytes";
    default: return "another kind of file";
    }
}

using childrun::slurp;
using testsupport::dataFile;

// A file no loader of this name's kind accepts: a picture for text and sound, a sound for
// pictures.
std::string otherKind(const std::string& name) {
    return slurp(dataFile(name.find(".bmp") != std::string::npos ? "sound.wav" : "pierre.bmp"));
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    return bytes;
}

// A fresh working folder holding the named data files, `damaged` damaged.
class DataDir {
public:
    DataDir(const std::vector<std::string>& files, const std::string& damaged, Damage damage) {
        for (const std::string& f : files)
            if (f != damaged) fs::create_symlink(dataFile(f), folder_.file(f));
        const std::string original = slurp(dataFile(damaged));
        std::string bytes;
        switch (damage) {
        case Damage::Removed: return;
        case Damage::Empty: break;
        case Damage::Half: bytes = original.substr(0, original.size() / 2); break;
        case Damage::Random:
            bytes = randomBytes(std::min<std::size_t>(original.size(), 65536), 11);
            break;
        case Damage::OtherKind: bytes = otherKind(damaged); break;
        }
        folder_.write(damaged, bytes);
    }
    const std::string& path() const { return folder_.path(); }

private:
    testsupport::ScratchFolder folder_{"matrix"};
};

// Runs `body` in the folder, with what it prints on standard error.
std::string inFolder(const DataDir& dir, const std::function<void()>& body) {
    const testsupport::WorkingFolder here(dir.path());
    ::testing::internal::CaptureStderr();
    body();
    return ::testing::internal::GetCapturedStderr();
}

int countOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

std::vector<std::string> keyframeNames() {
    const std::vector<const char*> files = Moves::keyframeFiles();
    return {files.begin(), files.end()};
}

// One test per kind of damage: reading the real keyframe set 18 times is slow enough under
// the sanitizers to be worth spreading.
class KeyframeMatrix : public ::testing::TestWithParam<Damage> {};

TEST_P(KeyframeMatrix, EachBadKeyframeFileIsNamedAloneAndRefusesTheMoves) {
    const Damage damage = GetParam();
    for (const std::string& file : keyframeNames()) {
        SCOPED_TRACE(file + " " + describe(damage));
        DataDir dir(keyframeNames(), file, damage);
        Moves moves;
        bool loaded = true;
        const std::string err = inFolder(dir, [&] { loaded = moves.readMoves(); });
        EXPECT_FALSE(loaded);
        EXPECT_EQ(err.rfind("Unable to read keyframe file " + file + ": ", 0), 0u) << err;
        EXPECT_EQ(countOf(err, "\n"), 1) << "only the bad file is named:\n" << err;
    }
}

std::string damageName(const ::testing::TestParamInfo<Damage>& info) {
    const char* const names[] = {"Removed", "Empty", "Half", "Random", "OtherKind"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(DataMatrix, KeyframeMatrix, ::testing::ValuesIn(kDamages), damageName);

TEST(DataMatrix, BadMusicEndsTheGameAndABadEffectIsNamed) {
    for (const char* file : kSounds) {
        for (Damage damage : kDamages) {
            SCOPED_TRACE(std::string(file) + " " + describe(damage));
            DataDir dir({std::begin(kSounds), std::end(kSounds)}, file, damage);
            const childrun::ChildResult r = childrun::runInChild(dir.path(), "dummy", [] {
                initSon();
                playBackgroundMusic();
            });
            ASSERT_NE(r.exitCode, -1) << "crashed or hung\n" << r.err;
            const bool music = std::string(file) == "music.ogg";
            if (music && damage == Damage::Half) {
                // An Ogg stream keeps its headers at the front: its first half still plays,
                // which is no failure (a WAV's data chunk then says more than there is).
                EXPECT_EQ(r.exitCode, childrun::kBodyDone) << r.out << r.err;
            } else if (music) {
                EXPECT_EQ(r.exitCode, 1);
                EXPECT_EQ(r.out.rfind("Unable to load Ogg file: ", 0), 0u) << r.out;
            } else {
                EXPECT_EQ(r.exitCode, childrun::kBodyDone);
                EXPECT_EQ(countOf(r.err, "Unable to load WAV file: "), 1) << r.err;
            }
        }
    }
}

// Pictures need an OpenGL context: one small window, kept to the end as the game keeps its.
class PictureMatrix : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display for an OpenGL window";
        static bool ready = false;
        for (int attempt = 0; attempt < 20 && !ready; ++attempt) {
            ready = SDL_Init(SDL_INIT_VIDEO) == 0 && SDL_SetVideoMode(64, 64, 32, SDL_OPENGL);
            if (!ready) {
                SDL_Quit();
                SDL_Delay(250);
            }
        }
        ASSERT_TRUE(ready) << SDL_GetError();
    }

    // The level-0 image of a texture must be the 4 x 4 placeholder of one colour.
    static void expectPlaceholder(unsigned int name, unsigned char level) {
        glBindTexture(GL_TEXTURE_2D, name);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        ASSERT_EQ(w, 4);
        ASSERT_EQ(h, 4);
        unsigned char texels[4 * 4 * 3];
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
        for (unsigned char t : texels) ASSERT_EQ(t, level);
    }

    static std::vector<std::string> pictureNames() {
        std::vector<std::string> names(std::begin(Moves::textureFiles),
                                       std::end(Moves::textureFiles));
        names.insert(names.end(), std::begin(kScenePictures), std::end(kScenePictures));
        return names;
    }

    // Loads every picture as the game does and returns the texture that shows `file`.
    static unsigned int loadAll(const std::string& file) {
        static Moves moves;
        moves.loadTextures();
        createBackground();
        for (int i = 0; i < Moves::TEXTURE_COUNT; ++i)
            if (file == Moves::textureFiles[i]) return moves.getText()[i];
        if (file == "sun.bmp") return textureId1;
        if (file == "croix.bmp") return textureId2;
        if (file == "halo.bmp") return textureId3;
        return textureId;
    }
};

TEST_F(PictureMatrix, EachBadPictureIsNamedAloneAndGetsItsPlaceholder) {
    for (const std::string& file : pictureNames()) {
        // The flare adds its pictures onto the frame: black, which adds nothing.
        const bool flare = file == "sun.bmp" || file == "croix.bmp" || file == "halo.bmp";
        for (Damage damage : kDamages) {
            SCOPED_TRACE(file + " " + describe(damage));
            DataDir dir(pictureNames(), file, damage);
            unsigned int name = 0;
            const std::string err = inFolder(dir, [&] { name = loadAll(file); });
            EXPECT_EQ(err.rfind("Unable to load texture " + file + ": ", 0), 0u) << err;
            EXPECT_EQ(countOf(err, "\n"), 1) << "only the bad picture is named:\n" << err;
            expectPlaceholder(name, flare ? 0 : 128);
        }
    }
}

}  // namespace
