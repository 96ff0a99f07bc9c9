// The process entry point: Windows starts the game at WinMain, so does this.
#include "platform/win32.h"

#include <X11/Xlib.h>

int main(int argc, char** argv) {
    // Before any other Xlib call, ours or SDL's: both threads end up in Xlib.
    XInitThreads();
    __argc = argc;
    __argv = argv;
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
}
