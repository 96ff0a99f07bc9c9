// What a Windows process gets from its system and the game asks for: its command line
// (__argc, __argv, filled by main()), environment variables, and the display its windows need.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/linux/internal.h"
#include "platform/win32.h"

int __argc = 0;
char** __argv = nullptr;

BOOL WINAPI SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
    if (!name || !*name) return FALSE;
    return (value ? ::setenv(name, value, 1) : ::unsetenv(name)) == 0 ? TRUE : FALSE;
}

BOOL WINAPI VorlaxisOpenDisplay(void) {
    std::string why;
    if (vorlaxis::platform::openDisplay(&why)) return TRUE;
    std::fprintf(stderr, "Unable to create the control panel window: %s\n", why.c_str());
    return FALSE;
}
