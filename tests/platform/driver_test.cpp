// Choosing the video driver, and what the Win32 calls say when the display is missing.
#include <cstdlib>
#include <string>

#include "tests/support/headless_window.h"
#include "tests/support/scoped_env.h"

namespace {

std::string messageOf(DWORD code) {
    char text[128];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    return std::string(text, length);
}

// Runs the X11 driver with DISPLAY unset, and puts the null driver and DISPLAY back after.
class WithoutDisplay : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(vorlaxis::platform::useVideoDriver("x11")); }
    void TearDown() override { vorlaxis::platform::useVideoDriver("null"); }
    testsupport::ScopedEnv noDisplay_{"DISPLAY", nullptr};
};

TEST(VideoDriver, NamesPickADriverTheOldHeadlessNameIsTheNullOneAndUnknownNamesChangeNothing) {
    ASSERT_TRUE(vorlaxis::platform::useVideoDriver("x11"));
    EXPECT_STREQ(vorlaxis::platform::videoDriverName(), "x11");
    ASSERT_TRUE(vorlaxis::platform::useVideoDriver("headless"));
    EXPECT_STREQ(vorlaxis::platform::videoDriverName(), "null");
    EXPECT_FALSE(vorlaxis::platform::useVideoDriver("wayland"));
    EXPECT_FALSE(vorlaxis::platform::useVideoDriver(""));
    EXPECT_STREQ(vorlaxis::platform::videoDriverName(), "null");
    std::string why = "untouched";
    EXPECT_TRUE(vorlaxis::platform::openVideo(&why));
    EXPECT_EQ(why, "untouched");
}

TEST_F(WithoutDisplay, TheScreenAndTopLevelWindowsFailWithTheDriversReasonAsTheirLastError) {
    std::string why;
    EXPECT_FALSE(vorlaxis::platform::openVideo(&why));
    EXPECT_EQ(why, "no X display: DISPLAY is not set");
    SetLastError(0);
    EXPECT_EQ(GetDC(nullptr), nullptr);
    DWORD screenError = GetLastError();
    EXPECT_NE(screenError, 0u);
    EXPECT_EQ(messageOf(screenError), "no X display: DISPLAY is not set");
    testsupport::registerWindowClass("driver-test");
    SetLastError(0);
    EXPECT_EQ(CreateWindowExA(0, "driver-test", "top", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), screenError);
}

TEST(LastError, FailedCallsSetASystemCodeFormatMessageWordsItAndShortBuffersAreRefused) {
    vorlaxis::platform::useVideoDriver("null");
    EXPECT_EQ(CreateWindowExA(0, "no-such-class", "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    EXPECT_EQ(messageOf(ERROR_CANNOT_FIND_WND_CLASS), "Cannot find window class.\r\n");
    char tiny[4];
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_CANNOT_FIND_WND_CLASS, 0,
                             tiny, sizeof tiny, nullptr),
              0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(messageOf(12345), "");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
}

}  // namespace
