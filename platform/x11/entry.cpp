// The process entry point: Windows starts the game at WinMain, so does this.
#include "platform/driver.h"
#include "platform/win32.h"

#include <X11/Xlib.h>

int main(int argc, char** argv) {
    __argc = argc;
    __argv = argv;
    // Before any other Xlib call, ours or SDL's: both threads end up in Xlib.
    XInitThreads();
    // The display comes first, as the first window would open it. Should it fail, the game
    // learns why from the first call that needs it (GetDC(NULL), CreateWindowExA) and says so.
    vorlaxis::platform::openVideo(nullptr);
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
}
