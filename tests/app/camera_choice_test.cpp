// The camera settled before the game changes folder: what reaches the capture driver through
// the environment, and what the game connects.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/config/camera_choice.h"
#include "tests/support/scoped_env.h"
#include "tests/support/working_folder.h"

namespace {

namespace fs = std::filesystem;

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "(unset)";
}

class CameraChoiceTest : public ::testing::Test {
protected:
    testsupport::WorkingFolder here_{fs::temp_directory_path().string()};
    testsupport::ScopedEnv camera_{"VORLAXIS_CAMERA", "stale.y4m"};
    testsupport::ScopedEnv from_{"VORLAXIS_CAMERA_FROM", "stale"};
    const std::string start_ = fs::current_path().string();
};

TEST_F(CameraChoiceTest, TheOptionWinsOverTheEnvironmentAndIsMadeAbsolute) {
    const CameraChoice clip = chooseCamera("clips/../fight.y4m");
    EXPECT_EQ(clip.driver, 0);
    EXPECT_EQ(clip.from, "--camera");
    EXPECT_EQ(variable("VORLAXIS_CAMERA"), start_ + "/fight.y4m");
    EXPECT_EQ(variable("VORLAXIS_CAMERA_FROM"), "--camera");

    const CameraChoice device = chooseCamera("/dev/video3");
    EXPECT_EQ(variable("VORLAXIS_CAMERA"), "/dev/video3");
    EXPECT_EQ(device.driver, 0);

    // A number picks a driver, which a device left in the environment must not override.
    const CameraChoice number = chooseCamera("2");
    EXPECT_EQ(number.driver, 2);
    EXPECT_EQ(number.from, "--camera");
    EXPECT_EQ(variable("VORLAXIS_CAMERA"), "(unset)");
    EXPECT_EQ(variable("VORLAXIS_CAMERA_FROM"), "(unset)");
}

TEST_F(CameraChoiceTest, WithoutTheOptionTheEnvironmentIsKeptAndItsOriginNamed) {
    const CameraChoice set = chooseCamera("");
    EXPECT_EQ(set.driver, 0);
    EXPECT_EQ(set.from, "VORLAXIS_CAMERA");
    EXPECT_EQ(variable("VORLAXIS_CAMERA"), start_ + "/stale.y4m");
    EXPECT_EQ(variable("VORLAXIS_CAMERA_FROM"), "VORLAXIS_CAMERA");

    camera_.set(nullptr);
    from_.set("--camera");  // inherited from another run: it must not name a source here
    const CameraChoice none = chooseCamera("");
    EXPECT_EQ(none.from, "");
    EXPECT_EQ(variable("VORLAXIS_CAMERA_FROM"), "(unset)");
}

}  // namespace
