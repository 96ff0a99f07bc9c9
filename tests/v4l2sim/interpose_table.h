// The state the interposed entry points share: the next definitions of the calls they stand
// in for, and the table of simulated descriptors.
#pragma once

#include <poll.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

#include "tests/v4l2sim/sim_device.h"

namespace v4l2sim {

// The next definitions, looked up on first use. No function-local statics: a sanitizer calls
// mmap and open while it starts, before its own interceptors of C++ static guards can run.
struct Real {
    int (*openat)(int, const char*, int, ...);
    int (*close)(int);
    int (*dup)(int);
    int (*ioctl)(int, unsigned long, ...);
    ssize_t (*read)(int, void*, size_t);
    void* (*mmap)(void*, size_t, int, int, int, off_t);
    int (*poll)(pollfd*, nfds_t, int);
    int (*select)(int, fd_set*, fd_set*, fd_set*, timeval*);
    long (*syscall)(long, ...);
    int (*stat)(const char*, struct stat*);
    int (*stat64)(const char*, struct stat64*);
};
extern Real g_real;  // zero until looked up

template <typename F>
F next(F& slot, const char* name) {
    if (!slot) slot = reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
    return slot;
}

#define REAL(name) v4l2sim::next(v4l2sim::g_real.name, #name)

struct OpenFile {
    std::shared_ptr<SimDevice> device;
    bool nonBlocking = false;
};

// Guards the table and every device in it.
extern std::mutex g_mutex;
// Which descriptors are simulated, readable without the lock: every call of the process
// (X11's, Mesa's) passes through here and most must go on untouched at once.
constexpr int kMaxFd = 4096;
extern std::atomic<bool> g_simulated[kMaxFd];

inline bool simulated(int fd) {
    return fd >= 0 && fd < kMaxFd && g_simulated[fd].load(std::memory_order_acquire);
}

// The simulated descriptor's entry, or null; call with g_mutex held.
OpenFile* lookup(int fd);

inline long fail(int err) {
    errno = err;
    return -1;
}

// poll(2) and select(2) over a set that holds simulated descriptors (interpose_wait.cpp).
int pollAll(pollfd* fds, nfds_t count, int timeoutMs);
int selectAll(int nfds, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, timeval* timeout);

}  // namespace v4l2sim
