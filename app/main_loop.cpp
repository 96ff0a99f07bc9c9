// The main loop's pump: pending messages always go first; a game turn runs on each pass that
// finds none.
#include <functional>

#include "app/main.h"
#include "play/quit.h"

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
