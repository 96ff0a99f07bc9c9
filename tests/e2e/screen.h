// A private X server for each end-to-end test, and screenshots of windows on it. Windows
// are found by caption, and other tests may run games or open "Vorlaxis" windows at the same
// time, so each test looks only at its own screen.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <poll.h>

#include "tests/e2e/game_process.h"

namespace e2e {

// An X server of the test's own: other end-to-end tests may run games at the same time, and
// windows are found by caption, so each test looks only at its own screen.
class OwnDisplay {
public:
    OwnDisplay() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            const int devnull = ::open("/dev/null", O_WRONLY);
            ::dup2(devnull, 1);
            ::dup2(devnull, 2);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24", "+extension", "GLX", "-noreset",
                     "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // Xvfb writes its display number once it accepts clients.
        pollfd ready{fds[0], POLLIN, 0};
        char number[16] = {};
        if (pid_ > 0 && ::poll(&ready, 1, 20000) == 1 && ::read(fds[0], number, sizeof number - 1) > 0)
            name_ = ":" + std::string(number, std::strcspn(number, "\n"));
        ::close(fds[0]);
        if (!name_.empty() && !answers()) name_.clear();
    }
    ~OwnDisplay() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& name() const { return name_; }  // empty when no server started

private:
    // On a loaded machine a fresh server has been seen to refuse its first clients: wait until
    // one gets in.
    bool answers() const {
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (std::system(("xdpyinfo -display " + name_ + " >/dev/null 2>&1").c_str()) == 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    pid_t pid_ = -1;
    std::string name_;
};

// A window's picture as 8-bit RGB.
struct Shot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

inline bool screenshot(const std::string& window, Shot& shot) {
    const std::string ppm = e2e::capture("import -silent -window " + window + " -depth 8 ppm:- 2>/dev/null");
    std::istringstream in(ppm);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic >> shot.width >> shot.height >> maxValue) || magic != "P6" || maxValue != 255) return false;
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

// Points DISPLAY at a private X server for the life of a test; skips when the game is not
// built or no server starts.
class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!exists(gamePath())) GTEST_SKIP() << gamePath() << " is not built";
        display_ = std::make_unique<OwnDisplay>();
        if (display_->name().empty()) GTEST_SKIP() << "no X server could be started (Xvfb)";
        const char* shared = std::getenv("DISPLAY");
        if (shared) sharedDisplay_ = shared;
        ::setenv("DISPLAY", display_->name().c_str(), 1);
    }
    void TearDown() override {
        if (sharedDisplay_.empty())
            ::unsetenv("DISPLAY");
        else
            ::setenv("DISPLAY", sharedDisplay_.c_str(), 1);
    }

private:
    std::unique_ptr<OwnDisplay> display_;
    std::string sharedDisplay_;
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
        const std::string script = tempPath("clip", ".txt"), clip = tempPath("clip", ".y4m");
        FILE* out = std::fopen(script.c_str(), "w");
        if (!out) return "";
        std::fputs(text, out);
        std::fclose(out);
        const std::string clipgen = std::string(VORLAXIS_BIN_DIR) + "/tools/clipgen";
        const int made = std::system((clipgen + " " + script + " " + clip + " 2>/dev/null").c_str());
        std::remove(script.c_str());
        return made == 0 ? clip : "";
    }

    std::string clip_;
};

}  // namespace e2e
