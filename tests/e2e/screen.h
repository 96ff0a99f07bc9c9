// What the end-to-end tests share: fixtures that start the game with a clip camera, and
// screenshots of its windows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/clean_display.h"
#include "tests/e2e/game_process.h"

namespace e2e {

// A window's picture as 8-bit RGB.
struct Shot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

inline bool screenshot(const std::string& window, Shot& shot) {
    const std::string ppm =
        e2e::capture("import -silent -window " + window + " -depth 8 ppm:- 2>/dev/null");
    std::istringstream in(ppm);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic >> shot.width >> shot.height >> maxValue) || magic != "P6" || maxValue != 255)
        return false;
    in.get();
    const size_t bytes = static_cast<size_t>(shot.width) * shot.height * 3;
    const size_t offset = static_cast<size_t>(in.tellg());
    if (ppm.size() < offset + bytes) return false;
    shot.rgb.assign(ppm.begin() + offset, ppm.begin() + offset + bytes);
    return true;
}

struct Mean {
    double r = 0, g = 0, b = 0;
};

inline Mean meanOf(const Shot& shot, int x0, int y0, int x1, int y1) {
    Mean m;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) {
            const uint8_t* p = shot.at(x, y);
            m.r += p[0];
            m.g += p[1];
            m.b += p[2];
        }
    m.r /= n;
    m.g /= n;
    m.b /= n;
    return m;
}

// A rectangle of a window's picture: x0 <= x < x1, y0 <= y < y1.
struct Area {
    int x0, y0, x1, y1;
};

// The bytes of an area, to tell whether it changed between two shots.
inline std::string pixelsOf(const Shot& shot, const Area& a) {
    std::string bytes;
    for (int y = a.y0; y < a.y1; ++y)
        bytes.append(reinterpret_cast<const char*>(shot.at(a.x0, y)), (a.x1 - a.x0) * 3);
    return bytes;
}

// Pixels of an area for which test(r, g, b) holds.
template <typename Test>
int count(const Shot& shot, const Area& a, Test test) {
    int n = 0;
    for (int y = a.y0; y < a.y1; ++y)
        for (int x = a.x0; x < a.x1; ++x) {
            const uint8_t* p = shot.at(x, y);
            n += test(p[0], p[1], p[2]) ? 1 : 0;
        }
    return n;
}

// Anything but the black of an empty panel or of space.
inline bool lit(int r, int g, int b) { return r + g + b > 30; }

// The fighters are grey robots tinted blue (fighter 1) and red (fighter 2).
inline bool fighterBlue(int r, int g, int b) {
    return std::abs(r - g) <= 3 && b >= 2 * r && b >= 60;
}
inline bool fighterRed(int r, int g, int b) {
    return std::abs(g - b) <= 3 && r >= 2 * g && r >= 60;
}

// What the game prints on standard output as it shuts down, in this order.
inline const char* const kShutDown = "Signaling thread to quit\nThread quitting\n";

// Waits for the game to end after a way out was taken: exit code 0 and the shut-down lines.
inline void expectCleanEnd(GameProcess& game) {
    int status = -2;
    ASSERT_TRUE(game.wait(kReactSeconds, status))
        << "the game did not end; its output:\n"
        << game.out() << "\nits errors:\n"
        << game.err() << "\nits threads:\n"
        << threadsOf(game.pid());
    EXPECT_EQ(status, 0) << game.err();
    EXPECT_NE(game.out().find(kShutDown), std::string::npos) << game.out();
}

// Needs the built game and the test run's X server. The end-to-end tests run one at a time
// (see CMakeLists.txt), so every window on that server during a test is its own game's.
class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!exists(gamePath())) GTEST_SKIP() << gamePath() << " is not built";
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server (run under xvfb-run)";
        cleanDisplay();
    }
};

// A DisplayTest whose game plays a clip made by clipgen from `script()`; skips when the clip
// cannot be made.
class ClipTest : public DisplayTest {
protected:
    virtual const char* script() const = 0;

    void SetUp() override {
        DisplayTest::SetUp();
        if (IsSkipped()) return;
        clip_ = makeClip(script());
        if (clip_.empty()) GTEST_SKIP() << "no clip generator";
    }
    void TearDown() override {
        if (!clip_.empty()) std::remove(clip_.c_str());
        DisplayTest::TearDown();
    }

    static std::string makeClip(const char* text) {
        const std::string script = testsupport::scratchPath("clip", ".txt"),
                          clip = testsupport::scratchPath("clip", ".y4m");
        FILE* out = std::fopen(script.c_str(), "w");
        if (!out) return "";
        std::fputs(text, out);
        std::fclose(out);
        const std::string clipgen = std::string(VORLAXIS_BIN_DIR) + "/tools/clipgen";
        const int made =
            std::system((clipgen + " " + script + " " + clip + " 2>/dev/null").c_str());
        std::remove(script.c_str());
        return made == 0 ? clip : "";
    }

    std::string clip_;
};

}  // namespace e2e
