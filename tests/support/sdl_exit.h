// Ending SDL with the test program, as the game ends it.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>

namespace testsupport {

// Marks every library loaded so far as never to be unloaded. SDL_Quit lets the GL driver go;
// the leak check that follows could then no longer name the driver's own allocations, which
// its suppressions match by library.
inline void keepLibrariesMapped() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && *info->dlpi_name)
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

// Once the program exits, closes the mixer and SDL: the audio device's thread is stopped and
// joined, and the window and its GL context go with the driver's threads, rather than running
// on under the leak check. Call it after SDL is up; calling it again does nothing.
inline void closeSdlAtExit() {
    static const bool registered = std::atexit([] {
                                       keepLibrariesMapped();
                                       while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
                                           Mix_CloseAudio();
                                       SDL_Quit();
                                   }) == 0;
    (void)registered;
}

}  // namespace testsupport
