// `cmake --install` into a DESTDIR: the tree it lays out, and the installed game
// started from a folder that has nothing to do with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "tests/e2e/screen.h"
#include "tests/install/install_files.h"

namespace {

using install::fs::exists;

const char* const kPanel = "Vorlaxis - control panel";
const char* const kScene = "Vorlaxis";

// The build installed into the build tree by the tree stage, under /usr as a distribution
// would lay it out; being under another root makes it a relocated install.
class InstalledTree : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(exists(game())) << "the install stage did not run"; }

    static std::string installed(const std::string& path) {
        return VORLAXIS_STAGE_DIR "/tree/usr/" + path;
    }
    static std::string game() { return installed("bin/vorlaxis"); }
};

// The options a usage text offers: every "--word" that opens a line, after any short forms.
std::set<std::string> optionsOfUsage(const std::string& usage) {
    std::set<std::string> options;
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        for (std::string word; words >> word && word[0] == '-';) {
            word = word.substr(0, word.find_first_of(",=[|"));
            if (word.rfind("--", 0) == 0) options.insert(word);
        }
    }
    return options;
}

// The options the manual page describes: the first word of each tagged paragraph of OPTIONS.
std::set<std::string> optionsOfManPage(const std::string& page) {
    std::set<std::string> options;
    std::istringstream lines(page);
    bool inOptions = false, tagNext = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(".SH", 0) == 0) inOptions = line == ".SH OPTIONS";
        if (!inOptions) continue;
        if (tagNext) {
            std::istringstream words(line);
            std::string macro, option;
            words >> macro >> option;
            for (size_t at; (at = option.find("\\-")) != std::string::npos;) option.erase(at, 1);
            options.insert(option);
        }
        tagNext = line == ".TP";
    }
    return options;
}

TEST_F(InstalledTree, HoldsEveryDataFileTheGameItsMenuEntryManualAndDocuments) {
    const std::vector<std::string> data = install::dataFiles();
    EXPECT_GE(data.size(), 37u);
    for (const std::string& name : data) {
        const std::string copy = installed("share/vorlaxis/" + name);
        ASSERT_TRUE(exists(copy)) << copy;
        EXPECT_EQ(install::fs::file_size(copy), install::fs::file_size(testsupport::dataFile(name)))
            << name;
    }
    EXPECT_FALSE(exists(installed("share/vorlaxis/.generated")));
    EXPECT_EQ(install::fs::status(game()).permissions() & install::fs::perms::owner_exec,
              install::fs::perms::owner_exec);
    for (const char* path : {"share/applications/vorlaxis.desktop", "share/man/man6/vorlaxis.6",
                             "share/doc/vorlaxis/README.md", "share/doc/vorlaxis/copyright"})
        EXPECT_TRUE(exists(installed(path))) << path;
    const std::string copyright = e2e::slurp(installed("share/doc/vorlaxis/copyright"));
    EXPECT_NE(copyright.find("Files: earthmap1k.bmp"), std::string::npos);
    EXPECT_NE(copyright.find("earth.jpg"), std::string::npos);
}

TEST_F(InstalledTree, DesktopEntryValidatesAndItsIconsHaveTheirSizes) {
    std::string output;
    const std::string entry = installed("share/applications/vorlaxis.desktop");
    EXPECT_EQ(install::run("desktop-file-validate " + entry, output), 0);
    EXPECT_EQ(output, "");
    const std::string text = e2e::slurp(entry);
    EXPECT_NE(text.find("\nExec=vorlaxis --menu\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nIcon=vorlaxis\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nCategories=Game;ActionGame;\n"), std::string::npos) << text;
    for (uint32_t size : {48u, 128u, 256u}) {
        const std::string side = std::to_string(size);
        const install::PngHeader png = install::pngHeader(
            installed("share/icons/hicolor/" + side + "x" + side + "/apps/vorlaxis.png"));
        EXPECT_EQ(png.width, size);
        EXPECT_EQ(png.height, size);
        EXPECT_EQ(png.colourType, 6) << "not RGBA: the icon needs its transparent corners";
    }
}

// Software centres list the game from its AppStream file, found through the menu entry it names.
TEST_F(InstalledTree, AppStreamFileValidatesWithoutWarningsAndLaunchesTheMenuEntry) {
    const std::string metainfo = installed("share/metainfo/org.example.vorlaxis.metainfo.xml");
    std::string output;
    EXPECT_EQ(install::run("appstreamcli validate --no-net --pedantic " + metainfo, output), 0)
        << output;
    EXPECT_EQ(output.find("W:"), std::string::npos) << output;
    EXPECT_EQ(output.find("I:"), std::string::npos) << output;
    const std::string text = e2e::slurp(metainfo);
    EXPECT_NE(text.find("<launchable type=\"desktop-id\">vorlaxis.desktop</launchable>"),
              std::string::npos);
    for (const char* control : {"<control>vision</control>", "<control>gamepad</control>"})
        EXPECT_NE(text.find(control), std::string::npos) << control;
    EXPECT_NE(e2e::slurp(installed("share/applications/vorlaxis.desktop")).find("\nKeywords="),
              std::string::npos);
}

TEST_F(InstalledTree, ManualPageRendersWithoutWarnings) {
    std::string warnings;
    EXPECT_EQ(install::run("MANWIDTH=80 man --warnings -l " +
                               installed("share/man/man6/vorlaxis.6") + " 2>&1 >/dev/null",
                           warnings),
              0);
    EXPECT_EQ(warnings, "");
}

// The manual must describe exactly the options the program offers in its usage.
TEST_F(InstalledTree, ManualPageDescribesEveryOptionOfTheUsage) {
    std::string usage;
    // A game that does not know --help would start playing: the time limit ends it.
    EXPECT_EQ(install::run("cd /tmp && timeout 60 " + game() + " --help", usage), 0) << usage;
    const std::set<std::string> offered = optionsOfUsage(usage);
    EXPECT_FALSE(offered.empty()) << usage;
    EXPECT_EQ(optionsOfManPage(e2e::slurp(installed("share/man/man6/vorlaxis.6"))), offered);
}

// Clips are made by the end-to-end tests' clip maker.
struct Clips : e2e::ClipTest {
    using ClipTest::makeClip;
};

class InstalledGame : public InstalledTree {
protected:
    void SetUp() override {
        InstalledTree::SetUp();
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server (run under xvfb-run)";
    }
};

// From a folder with neither data nor the game, with the clip named relative to that folder:
// the game finds its data next to its executable and the clip where the player is.
TEST_F(InstalledGame, StartsFromAnUnrelatedFolderWithAClipNamedFromThereAndEscapeEndsIt) {
    testsupport::ScratchFolder folder("player");
    const std::string clip = Clips::makeClip("fps 15\n15 rock 80,120 | paper 80,120\n");
    ASSERT_FALSE(clip.empty()) << "no clip generator";
    install::fs::rename(clip, folder.path() + "/fight.y4m");
    e2e::GameProcess process({"SDL_AUDIODRIVER=dummy", "LIBGL_ALWAYS_SOFTWARE=1", "VORLAXIS_DATA",
                              "VORLAXIS_CAMERA=fight.y4m"},
                             {}, e2e::Launch{game(), folder.path()});
    const std::string panel = process.waitForWindow(kPanel, e2e::kStartSeconds);
    ASSERT_FALSE(panel.empty()) << "no control panel; stderr: " << process.err();
    EXPECT_FALSE(process.waitForWindow(kScene, e2e::kStartSeconds).empty());
    e2e::capture("xdotool key --window " + panel + " Escape 2>/dev/null");
    e2e::expectCleanEnd(process);
}

TEST_F(InstalledGame, AnEmptyDataFolderIsReportedWithTheExitCode1) {
    testsupport::ScratchFolder folder("player");
    testsupport::ScratchFolder empty("data");
    e2e::GameProcess process({"SDL_AUDIODRIVER=dummy", "VORLAXIS_DATA=" + empty.path()}, {},
                             e2e::Launch{game(), folder.path()});
    int status = -2;
    ASSERT_TRUE(process.wait(e2e::kStartSeconds, status)) << "the game did not end";
    EXPECT_EQ(status, 1);
    const std::string err = process.err();
    EXPECT_NE(err.find("Unable to find the game data"), std::string::npos) << err;
    EXPECT_NE(err.find(empty.path()), std::string::npos) << err;
    EXPECT_NE(err.find(folder.path()), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_TRUE(e2e::findWindow(kPanel).empty());
}

}  // namespace
