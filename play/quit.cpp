#include "play/quit.h"

#include "platform/win32.h"

namespace play {

namespace {
bool quitAsked = false;   // main thread only
bool leaveAsked = false;  // main thread only
}  // namespace

void requestQuit() {
    quitAsked = true;
    PostQuitMessage(0);
}

void requestLeave() {
    leaveAsked = true;
    requestQuit();
}

bool leaveRequested() { return leaveAsked; }

bool takeQuitRequest() {
    const bool asked = quitAsked;
    quitAsked = false;
    return asked;
}

}  // namespace play
