// The open family of libc calls for an LD_PRELOAD library that simulates device nodes: each
// hands its path, flags and mode to the including file's own
//   int openVia(int dirfd, const char* path, int flags, mode_t mode);
// which must be declared before this header is included, once, at file scope.
#pragma once

#include <fcntl.h>

#include <cstdarg>

namespace opensim {

// The mode argument exists only for the flags that create a file.
inline mode_t modeArgument(int flags, va_list ap) {
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(ap, int)) : 0;
}

}  // namespace opensim

extern "C" {

int open(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = opensim::modeArgument(flags, ap);
    va_end(ap);
    return openVia(AT_FDCWD, path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = opensim::modeArgument(flags, ap);
    va_end(ap);
    return openVia(AT_FDCWD, path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = opensim::modeArgument(flags, ap);
    va_end(ap);
    return openVia(dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = opensim::modeArgument(flags, ap);
    va_end(ap);
    return openVia(dirfd, path, flags, mode);
}

int __open_2(const char* path, int flags) { return openVia(AT_FDCWD, path, flags, 0); }
int __open64_2(const char* path, int flags) { return openVia(AT_FDCWD, path, flags, 0); }

}  // extern "C"
