#include "play/quit.h"

#include "platform/win32.h"

namespace play {

namespace {
bool quitAsked = false;  // main thread only
}

void requestQuit() {
    quitAsked = true;
    PostQuitMessage(0);
}

bool takeQuitRequest() {
    const bool asked = quitAsked;
    quitAsked = false;
    return asked;
}

}  // namespace play
