// The main loop's pump and what each turn hands the screen and the panel.
#include <functional>

#include "app/main.h"
#include "play/quit.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

}  // namespace

// The particles are drawn where they are: the scene stands still.
void drawStillScene() {
    const int step = world.frameStep;
    world.frameStep = 0;
    world.display();
    world.frameStep = step;
    referee.display();
}

void publishReadout() {
    lastSignShown1.store(world.lastSign1, relaxed);
    lastSignShown2.store(world.lastSign2, relaxed);
    lifeShown1.store(referee.shownLife(world.life1), relaxed);
    lifeShown2.store(referee.shownLife(world.life2), relaxed);
    winsShown1.store(referee.wins(1), relaxed);
    winsShown2.store(referee.wins(2), relaxed);
}

// Pending messages always go first; a game turn runs on each pass that finds none.
void runMainLoop(const std::function<void()>& turn) {
    MSG msg;
    bool quit = false;
    while (!quit) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                play::takeQuitRequest();
                quit = true;
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        } else if (play::takeQuitRequest()) {
            quit = true;  // its WM_QUIT was taken by SDL's event pump (Windows)
        } else {
            turn();
        }
    }
}
