// Which video driver runs: chosen once from VORLAXIS_VIDEODRIVER unless a test picked one.
#include "platform/core/layer.h"

#include <cstdio>
#include <cstdlib>

namespace vorlaxis::platform {

namespace {

constexpr const char* kDefaultDriver = "x11";

std::atomic<VideoDriver*> current{nullptr};

VideoDriver* fromEnvironment() {
    const char* name = std::getenv("VORLAXIS_VIDEODRIVER");
    if (!name || !*name) return findVideoDriver(kDefaultDriver);
    VideoDriver* driver = findVideoDriver(name);
    if (driver) return driver;
    // A misspelt name should not pass unnoticed as the default.
    std::fprintf(stderr, "VORLAXIS_VIDEODRIVER=%s is no video driver (x11 or null): using %s\n",
                 name, kDefaultDriver);
    return findVideoDriver(kDefaultDriver);
}

}  // namespace

VideoDriver& videoDriver() {
    VideoDriver* driver = current.load();
    if (!driver) {
        current.compare_exchange_strong(driver, fromEnvironment());
        driver = current.load();
    }
    return *driver;
}

bool useVideoDriver(const std::string& name) {
    VideoDriver* driver = findVideoDriver(name);
    if (!driver) return false;
    current.store(driver);
    return true;
}

const char* videoDriverName() { return videoDriver().name(); }

bool openVideo(std::string* why) { return videoDriver().open(why); }

void pumpDisplay() { videoDriver().pump(); }

void syncDisplay() {
    if (isMainThread()) videoDriver().sync();
}

void requestFocus(HWND hWnd) {
    videoDriver().focus(hWnd);
    syncDisplay();
}

}  // namespace vorlaxis::platform
