// The process entry point: Windows starts the game at WinMain, so does this.
#include "platform/driver.h"
#include "platform/win32.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    // Before any other Xlib call, ours or SDL's: both threads end up in Xlib.
    XInitThreads();
    // The control panel is the only way to end the game, so without a display there is no
    // point opening the 3D window, the audio device or the camera first.
    std::string why;
    if (!vorlaxis::platform::openDisplay(&why)) {
        std::fprintf(stderr, "Unable to create the control panel window: %s\n", why.c_str());
        return 1;
    }
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
}
