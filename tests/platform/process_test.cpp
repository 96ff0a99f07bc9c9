// The executable's path and the environment, as the Windows calls report and change them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "platform/win32.h"

namespace {

TEST(Process, ModuleFileNameIsTheRunningExecutableAndAShortBufferIsCutAndTerminated) {
    char path[4096];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(length, std::strlen(path));
    EXPECT_EQ(path[0], '/');
    EXPECT_EQ(::access(path, X_OK), 0) << path;
    EXPECT_NE(std::string(path).find("tests_platform"), std::string::npos) << path;

    char shortPath[8];
    std::memset(shortPath, 'x', sizeof shortPath);
    EXPECT_EQ(GetModuleFileNameA(nullptr, shortPath, sizeof shortPath), sizeof shortPath);
    EXPECT_EQ(std::string(shortPath), std::string(path, sizeof shortPath - 1));
    // The program's own handle names the same file.
    char again[4096];
    EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), again, sizeof again), length);
    EXPECT_STREQ(again, path);
}

TEST(Process, SetEnvironmentVariableSetsReplacesAndRemoves) {
    ASSERT_TRUE(SetEnvironmentVariableA("VORLAXIS_PROCESS_TEST", "one"));
    EXPECT_STREQ(std::getenv("VORLAXIS_PROCESS_TEST"), "one");
    ASSERT_TRUE(SetEnvironmentVariableA("VORLAXIS_PROCESS_TEST", "two"));
    EXPECT_STREQ(std::getenv("VORLAXIS_PROCESS_TEST"), "two");
    ASSERT_TRUE(SetEnvironmentVariableA("VORLAXIS_PROCESS_TEST", nullptr));
    EXPECT_EQ(std::getenv("VORLAXIS_PROCESS_TEST"), nullptr);
    EXPECT_FALSE(SetEnvironmentVariableA("BAD=NAME", "x"));
}

}  // namespace
