// The null video driver: no display at all, as a dummy video driver would be. Windows are their
// canvases; presenting takes a changed canvas as shown (there is nowhere to put it) and no
// input ever arrives, so tests and benchmarks run the core exactly as the game does, minus
// the screen.
#include "platform/null/null_driver.h"

#include "platform/core/layer.h"

namespace vorlaxis::platform {

namespace {

class NullDriver : public VideoDriver {
public:
    const char* name() const override { return "null"; }
    bool open(std::string*) override { return true; }
    void pump() override {
        for (auto& [id, window] : windows().snapshot())
            if (!(window->style & WS_CHILD) && window->visible.load())
                window->canvas->dirty->store(false, std::memory_order_relaxed);
    }
    void sync() override {}
    void focus(HWND) override {}
};

}  // namespace

VideoDriver& nullDriver() {
    static NullDriver driver;
    return driver;
}

}  // namespace vorlaxis::platform
