// Finding the data folder from anywhere.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/config/datadir.h"
#include "platform/win32.h"
#include "tests/support/data_folder.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/working_folder.h"

namespace {

namespace fs = std::filesystem;
using Folders = std::vector<std::string>;

TEST(DataFolder, AnInstalledGameLooksBesideItsPrefixThenInItsOwnAndTheBuildFolder) {
    EXPECT_EQ(
        dataFolderCandidates(nullptr, "/usr/games/vorlaxis"),
        (Folders{"/usr/share/vorlaxis", "/usr/share/games/vorlaxis", "/usr/games", "/usr/data"}));
    EXPECT_EQ(dataFolderCandidates("", "/opt/v/bin/vorlaxis"),
              (Folders{"/opt/v/share/vorlaxis", "/opt/v/share/games/vorlaxis", "/opt/v/bin",
                       "/opt/v/data"}));
    // An explicit setting is the only place; an unknown executable leaves nothing to try.
    EXPECT_EQ(dataFolderCandidates("/my/data", "/usr/bin/vorlaxis"), (Folders{"/my/data"}));
    EXPECT_TRUE(dataFolderCandidates(nullptr, "").empty());
}

TEST(DataFolder, AFolderWithAnyDataFileHoldsTheGameEvenDamaged) {
    EXPECT_TRUE(holdsGameData(testsupport::dataFolder()));
    const testsupport::ScratchFolder folder("partial");
    const fs::path partial = folder.path();
    fs::create_directory(partial / "music.ogg");  // a folder by the right name is no data file
    EXPECT_FALSE(holdsGameData(partial.string()));
    // With music.ogg missing the game must stay and say so, not move to another folder.
    fs::copy_file(testsupport::dataFile("Punch00.txt"), partial / "Punch00.txt");
    EXPECT_TRUE(holdsGameData(partial.string()));
    EXPECT_FALSE(holdsGameData("/nonexistent/vorlaxis"));
}

// Changes the process's folder and environment: puts both back whatever happens.
class EnterDataFolder : public ::testing::Test {
protected:
    testsupport::WorkingFolder here_{fs::temp_directory_path().string()};
    testsupport::ScopedEnv data_{"VORLAXIS_DATA"};
};

TEST_F(EnterDataFolder, MovesIntoTheSetFolder) {
    SetEnvironmentVariableA("VORLAXIS_DATA", testsupport::dataFolder().c_str());
    ASSERT_TRUE(enterDataFolder());
    EXPECT_EQ(fs::current_path(), fs::canonical(testsupport::dataFolder()));
    // Already there: it stays, even with a setting that holds nothing.
    SetEnvironmentVariableA("VORLAXIS_DATA", "/nonexistent");
    EXPECT_TRUE(enterDataFolder());
}

TEST_F(EnterDataFolder, ASetFolderWithoutDataIsReportedWithEveryPlaceLooked) {
    SetEnvironmentVariableA("VORLAXIS_DATA", "/nonexistent/vorlaxis");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(enterDataFolder());
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("Unable to find the game data"), std::string::npos) << message;
    EXPECT_NE(message.find(fs::current_path().string() +
                           " (the working directory), /nonexistent/vorlaxis;"),
              std::string::npos)
        << message;
    EXPECT_EQ(fs::current_path(), fs::temp_directory_path());
}

}  // namespace
