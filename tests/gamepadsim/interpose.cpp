// The LD_PRELOAD side of the simulated gamepads: the libc calls SDL 1.2's Linux joystick driver
// makes. It stats /dev/input/event0..31 (then js0..31 and /dev/js*), opens each node, asks it
// with EVIOCGBIT whether it is a joystick, with EVIOCGNAME its name, with EVIOCGABS each axis's
// range, and reads input events from it without blocking. Simulated nodes answer from
// VORLAXIS_PADSIM; other joystick nodes are hidden, so that a pad on the machine running the
// tests changes nothing. Every other path and descriptor goes on to libc untouched.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <mutex>

#include "tests/gamepadsim/sim_pad.h"

namespace {

// The next definitions, looked up on first use.
struct Real {
    int (*openat)(int, const char*, int, ...);
    int (*close)(int);
    int (*ioctl)(int, unsigned long, ...);
    ssize_t (*read)(int, void*, size_t);
    int (*stat)(const char*, struct stat*);
    int (*stat64)(const char*, struct stat64*);
} g_real;

template <typename F>
F next(F& slot, const char* name) {
    if (!slot) slot = reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
    return slot;
}

#define REAL(name) next(g_real.name, #name)

std::mutex g_mutex;
constexpr int kMaxFd = 4096;
// Which pad each descriptor reads, plus one; zero for descriptors that are not simulated.
// Readable without the lock: every read of the process passes through here.
std::atomic<int> g_padOf[kMaxFd];

int padOf(int fd) {
    return fd >= 0 && fd < kMaxFd ? g_padOf[fd].load(std::memory_order_acquire) - 1 : -1;
}

long fail(int err) {
    errno = err;
    return -1;
}

// -1 when the path is not a joystick node (the caller goes on to the real open).
int openNode(const char* path, int flags, bool& handled) {
    std::lock_guard<std::mutex> lock(g_mutex);
    bool inputNode = false;
    const int pad = padsim::padAt(path, inputNode);
    handled = inputNode;
    if (!handled) return -1;
    if (pad < 0) return static_cast<int>(fail(ENOENT));
    const int fd = memfd_create(("gamepadsim" + std::string(path)).c_str(),
                                (flags & O_CLOEXEC) ? MFD_CLOEXEC : 0);
    if (fd < 0) return -1;
    if (fd >= kMaxFd) {
        REAL(close)(fd);
        return static_cast<int>(fail(EMFILE));
    }
    g_padOf[fd].store(pad + 1, std::memory_order_release);
    return fd;
}

int openVia(int dirfd, const char* path, int flags, mode_t mode) {
    bool handled = false;
    const int fd = openNode(path, flags, handled);
    return handled ? fd : REAL(openat)(dirfd, path, flags, mode);
}

template <typename Stat>
bool statNode(const char* path, Stat* info, int& result) {
    std::lock_guard<std::mutex> lock(g_mutex);
    bool inputNode = false;
    const int pad = padsim::padAt(path, inputNode);
    if (!inputNode) return false;
    if (pad < 0) {
        result = static_cast<int>(fail(ENOENT));
        return true;
    }
    std::memset(info, 0, sizeof *info);
    info->st_mode = S_IFCHR | 0660;
    info->st_rdev = makedev(13, 64 + static_cast<unsigned>(pad));  // the input major
    info->st_nlink = 1;
    result = 0;
    return true;
}

}  // namespace

#include "tests/support/open_family.h"

extern "C" {

int close(int fd) {
    if (padOf(fd) >= 0) g_padOf[fd].store(0, std::memory_order_release);
    return REAL(close)(fd);
}

int ioctl(int fd, unsigned long request, ...) __THROW {
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    const int pad = padOf(fd);
    if (pad < 0) return REAL(ioctl)(fd, request, arg);
    std::lock_guard<std::mutex> lock(g_mutex);
    std::vector<padsim::SimPad>& all = padsim::pads();
    if (static_cast<size_t>(pad) >= all.size() || !all[pad].plugged())
        return static_cast<int>(fail(ENODEV));
    const int result = all[pad].ioctl(request, arg);
    return result < 0 ? static_cast<int>(fail(-result)) : result;
}

ssize_t read(int fd, void* buffer, size_t size) {
    const int pad = padOf(fd);
    if (pad < 0) return REAL(read)(fd, buffer, size);
    std::lock_guard<std::mutex> lock(g_mutex);
    std::vector<padsim::SimPad>& all = padsim::pads();
    if (static_cast<size_t>(pad) >= all.size()) return fail(ENODEV);
    const long result = all[pad].read(buffer, size);
    return result < 0 ? fail(static_cast<int>(-result)) : result;
}

int stat(const char* path, struct stat* info) __THROW {
    int result = 0;
    return statNode(path, info, result) ? result : REAL(stat)(path, info);
}

int stat64(const char* path, struct stat64* info) __THROW {
    int result = 0;
    return statNode(path, info, result) ? result : REAL(stat64)(path, info);
}

}  // extern "C"
