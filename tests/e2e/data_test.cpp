// The whole game on damaged data: a bad keyframe file or music ends it with exit code 1 before
// its windows run; missing or crafted pictures are named and the game plays on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/screen.h"
#include "tests/support/data_folder.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using e2e::GameProcess;

const char* const kPanel = "Vorlaxis - control panel";

// File names with the bytes that replace them (empty: the file is removed).
using Damages = std::vector<std::pair<std::string, std::string>>;

// A working folder with the generated data, the named files replaced.
class DamagedData {
public:
    explicit DamagedData(const Damages& damaged) {
        for (const fs::directory_entry& entry : fs::directory_iterator(testsupport::dataFolder()))
            fs::create_symlink(entry.path(), fs::path(path()) / entry.path().filename());
        for (const auto& [name, bytes] : damaged) {
            fs::remove(folder_.file(name));
            if (!bytes.empty()) folder_.write(name, bytes);
        }
    }
    const std::string& path() const { return folder_.path(); }

private:
    testsupport::ScratchFolder folder_{"data"};
};

// A 2 x 2 picture whose bit count says 4100: SDL read it as 4 bits without a palette and the
// game crashed converting it.
std::string bitCount4100() {
    std::string bmp = std::string("BM") + std::string(8, '\0') + std::string("\x36\0\0\0", 4) +
                      std::string("\x28\0\0\0", 4) + std::string("\x02\0\0\0\x02\0\0\0", 8) +
                      std::string("\x01\0\x04\x10", 4) + std::string(24, '\0');
    return bmp + std::string(16, '\x40');
}

class DataEndToEnd : public e2e::ClipTest {
protected:
    const char* script() const override { return "fps 15\n15 rock 80,120 | paper 80,120\n"; }

    std::unique_ptr<GameProcess> start(const DamagedData& data) {
        return std::make_unique<GameProcess>(
            std::vector<std::string>{"SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1",
                                     "VORLAXIS_CAMERA=" + clip_},
            std::vector<std::string>{}, e2e::Launch{e2e::gamePath(), data.path()});
    }

    // The game must end by itself with exit code 1, its control panel never shown.
    static void expectEndsBeforeThePanel(GameProcess& game) {
        int status = -2;
        ASSERT_TRUE(game.wait(e2e::kStartSeconds, status)) << "the game did not end";
        EXPECT_EQ(status, 1) << game.err();
        EXPECT_EQ(game.out().find("Camera:"), std::string::npos) << game.out();
    }
};

TEST_F(DataEndToEnd, ABadKeyframeFileEndsTheGameNamingOnlyIt) {
    DamagedData data(Damages{{"Punch00.txt", "v 1 2"}});
    auto game = start(data);
    expectEndsBeforeThePanel(*game);
    const std::string err = game->err();
    EXPECT_NE(err.find("Unable to read keyframe file Punch00.txt: "), std::string::npos) << err;
    EXPECT_EQ(err.find("Punch01.txt"), std::string::npos) << err;
}

TEST_F(DataEndToEnd, MissingMusicEndsTheGameOnStandardOutput) {
    DamagedData data(Damages{{"music.ogg", ""}});
    auto game = start(data);
    expectEndsBeforeThePanel(*game);
    EXPECT_EQ(game->out().rfind("Unable to load Ogg file: ", 0), 0u) << game->out();
}

TEST_F(DataEndToEnd, BadPicturesAndEffectsAreNamedAndTheGamePlaysOn) {
    DamagedData data(Damages{{"sun.bmp", ""},
                             {"croix.bmp", ""},
                             {"halo.bmp", ""},
                             {"earthmap1k.bmp", "BM" + std::string(22, '\x7f')},
                             {"pierre.bmp", bitCount4100()},
                             {"sound.wav", ""}});
    auto game = start(data);
    const std::string panel = game->waitForWindow(kPanel, e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << game->err();
    const std::string err = game->err();
    for (const char* name : {"sun.bmp", "croix.bmp", "halo.bmp", "earthmap1k.bmp"})
        EXPECT_NE(err.find(std::string("Unable to load texture ") + name + ": "), std::string::npos)
            << err;
    EXPECT_NE(err.find("Unable to load texture pierre.bmp: its bit count 4100 is not"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("Unable to load WAV file: "), std::string::npos) << err;
    e2e::capture("xdotool key --window " + panel + " Escape 2>/dev/null");
    int status = -2;
    ASSERT_TRUE(game->wait(30, status)) << "the game did not end";
    EXPECT_EQ(status, 0) << game->err();
}

}  // namespace
