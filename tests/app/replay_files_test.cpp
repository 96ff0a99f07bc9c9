// The kept replays: where they go on each setting, their names, the newest 20 kept and
// "last" finding the newest; what is not a kept replay is left alone.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <regex>

#include "app/config/options.h"
#include "app/replay/replay_files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/working_folder.h"

namespace {

using testsupport::ScopedEnv;
using testsupport::ScratchFolder;

TEST(ReplayFilesTest, TheFolderFollowsXdgDataHomeThenHome) {
    ScopedEnv xdg("XDG_DATA_HOME", "/data/home");
    ScopedEnv home("HOME", "/home/player");
    EXPECT_EQ(keptReplayFolder(), "/data/home/vorlaxis/replays");
    xdg.set("");
    EXPECT_EQ(keptReplayFolder(), "/home/player/.local/share/vorlaxis/replays");
    home.set(nullptr);
    EXPECT_EQ(keptReplayFolder(), "");
}

TEST(ReplayFilesTest, TheNewestTwentyAreKeptAndLastIsTheNewest) {
    ScratchFolder data("replays");
    ScopedEnv xdg("XDG_DATA_HOME", data.path());
    const std::string folder = keptReplayFolder();
    std::string error;
    EXPECT_EQ(replayPathOf("last", error), "");
    EXPECT_EQ(error, "no replay is kept in " + folder);

    std::filesystem::create_directories(folder);
    const std::time_t start = 1796000000;
    std::vector<std::string> names;
    for (int i = 0; i < 23; ++i) {
        names.push_back(keptReplayName(start + 3600 * i, 4242));
        std::ofstream(folder + "/" + names.back()) << "run";
    }
    EXPECT_TRUE(std::regex_match(names[0], std::regex("[0-9]{8}-[0-9]{6}-4242\\.vxr")));
    std::ofstream(folder + "/notes.vxr") << "mine";
    pruneKeptReplays(folder, kKeptReplays);

    std::vector<std::string> expected;
    for (size_t i = 3; i < names.size(); ++i) expected.push_back(folder + "/" + names[i]);
    EXPECT_EQ(keptReplays(folder), expected);
    EXPECT_TRUE(std::filesystem::exists(folder + "/notes.vxr"));
    error.clear();
    EXPECT_EQ(replayPathOf("last", error), expected.back());
    EXPECT_EQ(error, "");
    EXPECT_EQ(replayPathOf("/some/run.vxr", error), "/some/run.vxr");
}

TEST(ReplayFilesTest, ReplayPathsAreMadeAbsoluteAndNeverRecordOverTheReplay) {
    ScratchFolder folder("replays");
    folder.write("run.vxr", "run");
    const testsupport::WorkingFolder here(folder.path());
    Options options;
    options.replay = "run.vxr";
    options.record = "copy.vxr";
    ASSERT_TRUE(resolveReplayPaths(options));
    EXPECT_EQ(options.replay, folder.file("run.vxr"));
    EXPECT_EQ(options.record, folder.file("copy.vxr"));
    EXPECT_EQ(options.replayShown, "run.vxr");
    options.replay = "./run.vxr";
    options.record = folder.file("run.vxr");
    EXPECT_FALSE(resolveReplayPaths(options));
}

}  // namespace
