// The process's own file, command line and environment, as Windows reports and changes them.
#include "platform/win32.h"

#include <cstdlib>
#include <cstring>

#include <unistd.h>

// Filled by main() before WinMain, as the C runtime fills them on Windows.
int __argc = 0;
char** __argv = nullptr;

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    // The program is the only module there is: null and its handle both name it.
    if ((module && module != GetModuleHandleA(nullptr)) || !fileName || size == 0) return 0;
    // readlink does not terminate the path, and one byte more than it returns tells whether
    // the buffer was long enough.
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return 0;
    // Windows truncates to the buffer and still terminates it, returning the buffer size.
    const DWORD copied = static_cast<DWORD>(length) < size ? static_cast<DWORD>(length) : size - 1;
    std::memcpy(fileName, path, copied);
    fileName[copied] = '\0';
    return static_cast<DWORD>(length) < size ? copied : size;
}

BOOL WINAPI SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
    if (!name || !*name || std::strchr(name, '=')) return FALSE;
    return (value ? ::setenv(name, value, 1) : ::unsetenv(name)) == 0 ? TRUE : FALSE;
}
