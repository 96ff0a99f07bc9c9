// The LD_PRELOAD side of the simulated webcam: the libc entry points a V4L2 program reaches
// the kernel through. libv4l2 and libv4lconvert call the kernel with syscall(SYS_ioctl, ...),
// syscall(SYS_mmap, ...), syscall(SYS_read / SYS_close / SYS_open / SYS_dup), the program
// itself with open/ioctl/poll/select and stat. Every call whose path or file descriptor is not
// a simulated node goes on to the next definition (libc, or a sanitizer's interceptor) untouched.
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>

#include "tests/v4l2sim/interpose_table.h"

namespace {

using v4l2sim::fail;
using v4l2sim::g_mutex;
using v4l2sim::g_simulated;
using v4l2sim::kMaxFd;
using v4l2sim::lookup;
using v4l2sim::NodeConfig;
using v4l2sim::OpenFile;
using v4l2sim::SimDevice;
using v4l2sim::simulated;

// Raw kernel calls for the device's own buffers: nothing interposed, nothing intercepted.
void* kernelMmap(void* addr, size_t length, int prot, int flags, int fd, off_t offset) {
    return reinterpret_cast<void*>(REAL(syscall)(SYS_mmap, addr, length, prot, flags, fd, offset));
}
int kernelMunmap(void* addr, size_t length) {
    return static_cast<int>(REAL(syscall)(SYS_munmap, addr, length));
}

std::map<int, OpenFile>* g_files = nullptr;  // never freed: calls may come during exit

std::map<int, OpenFile>& files() {
    if (!g_files) g_files = new std::map<int, OpenFile>;
    return *g_files;
}

void mark(int fd, bool simulatedNow) {
    if (fd >= 0 && fd < kMaxFd) g_simulated[fd].store(simulatedNow, std::memory_order_release);
}

}  // namespace

namespace v4l2sim {

Real g_real;
std::mutex g_mutex;
std::atomic<bool> g_simulated[kMaxFd];

OpenFile* lookup(int fd) {
    if (!simulated(fd)) return nullptr;
    auto it = files().find(fd);
    return it == files().end() ? nullptr : &it->second;
}

}  // namespace v4l2sim

namespace {

// -1 when the path is not simulated (the caller goes on to the real open).
int openNode(const char* path, int flags, bool& handled) {
    const NodeConfig config = v4l2sim::nodeConfig(path);
    handled = config.kind != NodeConfig::None;
    if (!handled) return -1;
    if (config.denied) return static_cast<int>(fail(EACCES));
    if ((flags & O_ACCMODE) == O_WRONLY) return static_cast<int>(fail(EINVAL));
    const std::string name = "v4l2sim" + std::string(path);
    const int fd = static_cast<int>(
        REAL(syscall)(SYS_memfd_create, name.c_str(), (flags & O_CLOEXEC) ? MFD_CLOEXEC : 0));
    if (fd < 0) return -1;
    std::lock_guard<std::mutex> lock(g_mutex);
    const v4l2sim::Kernel kernel{kernelMmap, kernelMunmap};
    files()[fd] =
        OpenFile{std::make_shared<SimDevice>(config, fd, kernel), (flags & O_NONBLOCK) != 0};
    mark(fd, true);
    return fd;
}

int openVia(int dirfd, const char* path, int flags, mode_t mode) {
    bool handled = false;
    const int fd = openNode(path, flags, handled);
    return handled ? fd : REAL(openat)(dirfd, path, flags, mode);
}

int closeNode(int fd) {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (lookup(fd)) {
            files().erase(fd);
            mark(fd, false);
        }
    }
    return REAL(close)(fd);
}

int dupNode(int fd) {
    std::lock_guard<std::mutex> lock(g_mutex);
    OpenFile* file = lookup(fd);
    if (!file) return REAL(dup)(fd);
    const int copy = REAL(dup)(fd);
    if (copy >= 0) {
        files()[copy] = *file;
        mark(copy, true);
    }
    return copy;
}

long ioctlNode(OpenFile& file, unsigned long request, void* arg) {
    const int result = file.device->ioctl(request, arg, file.nonBlocking);
    return result < 0 ? fail(-result) : 0;
}

void* mmapNode(OpenFile& file, void* addr, size_t length, int prot, int flags, int fd,
               off_t offset) {
    const int check = file.device->checkMapping(length, offset);
    if (check < 0) {
        errno = -check;
        return MAP_FAILED;
    }
    return kernelMmap(addr, length, prot, flags, fd, offset);
}

bool anySimulated(const pollfd* fds, nfds_t count) {
    for (nfds_t i = 0; i < count; ++i)
        if (simulated(fds[i].fd)) return true;
    return false;
}

template <typename Stat>
bool statNode(const char* path, Stat* info) {
    const NodeConfig config = v4l2sim::nodeConfig(path);
    if (config.kind == NodeConfig::None) return false;
    std::memset(info, 0, sizeof *info);
    info->st_mode = S_IFCHR | 0660;
    info->st_rdev = makedev(81, static_cast<unsigned>(config.number));
    info->st_gid = 44;  // video
    info->st_nlink = 1;
    return true;
}

}  // namespace

#include "tests/support/open_family.h"

extern "C" {

int close(int fd) { return simulated(fd) ? closeNode(fd) : REAL(close)(fd); }

int dup(int fd) __THROW { return dupNode(fd); }

int ioctl(int fd, unsigned long request, ...) __THROW {
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    if (simulated(fd)) {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (OpenFile* file = lookup(fd)) return static_cast<int>(ioctlNode(*file, request, arg));
    }
    return REAL(ioctl)(fd, request, arg);
}

// UVC cameras offer streaming only: read() is not a way to get pictures from them.
ssize_t read(int fd, void* buffer, size_t size) {
    if (simulated(fd)) return fail(EINVAL);
    return REAL(read)(fd, buffer, size);
}

void* mmap(void* addr, size_t length, int prot, int flags, int fd, off_t offset) __THROW {
    if (simulated(fd)) {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (OpenFile* file = lookup(fd))
            return mmapNode(*file, addr, length, prot, flags, fd, offset);
    }
    return REAL(mmap)(addr, length, prot, flags, fd, offset);
}

void* mmap64(void* addr, size_t length, int prot, int flags, int fd, off_t offset) __THROW {
    return mmap(addr, length, prot, flags, fd, offset);
}

int poll(pollfd* fds, nfds_t count, int timeout) {
    if (!anySimulated(fds, count)) return REAL(poll)(fds, count, timeout);
    return v4l2sim::pollAll(fds, count, timeout);
}

int select(int nfds, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, timeval* timeout) {
    bool any = false;
    for (int fd = 0; fd < nfds && !any; ++fd)
        any = ((readfds && FD_ISSET(fd, readfds)) || (writefds && FD_ISSET(fd, writefds))) &&
              simulated(fd);
    if (!any) return REAL(select)(nfds, readfds, writefds, exceptfds, timeout);
    return v4l2sim::selectAll(nfds, readfds, writefds, exceptfds, timeout);
}

int stat(const char* path, struct stat* info) __THROW {
    return statNode(path, info) ? 0 : REAL(stat)(path, info);
}

int stat64(const char* path, struct stat64* info) __THROW {
    return statNode(path, info) ? 0 : REAL(stat64)(path, info);
}

long syscall(long number, ...) __THROW {
    va_list ap;
    va_start(ap, number);
    long a[6];
    for (long& value : a) value = va_arg(ap, long);
    va_end(ap);
    switch (number) {
    case SYS_ioctl: {
        if (!simulated(static_cast<int>(a[0]))) break;
        std::lock_guard<std::mutex> lock(g_mutex);
        if (OpenFile* file = lookup(static_cast<int>(a[0])))
            return ioctlNode(*file, static_cast<unsigned long>(a[1]),
                             reinterpret_cast<void*>(a[2]));
        break;
    }
    case SYS_mmap: {
        if (!simulated(static_cast<int>(a[4]))) break;
        std::lock_guard<std::mutex> lock(g_mutex);
        if (OpenFile* file = lookup(static_cast<int>(a[4])))
            return reinterpret_cast<long>(
                mmapNode(*file, reinterpret_cast<void*>(a[0]), static_cast<size_t>(a[1]),
                         static_cast<int>(a[2]), static_cast<int>(a[3]), static_cast<int>(a[4]),
                         static_cast<off_t>(a[5])));
        break;
    }
    case SYS_read:
        if (simulated(static_cast<int>(a[0]))) return fail(EINVAL);
        break;
    case SYS_close:
        if (simulated(static_cast<int>(a[0]))) return closeNode(static_cast<int>(a[0]));
        break;
    case SYS_dup:
        if (simulated(static_cast<int>(a[0]))) return dupNode(static_cast<int>(a[0]));
        break;
    case SYS_open: {
        bool handled = false;
        const int fd =
            openNode(reinterpret_cast<const char*>(a[0]), static_cast<int>(a[1]), handled);
        if (handled) return fd;
        break;
    }
    case SYS_openat: {
        bool handled = false;
        const int fd =
            openNode(reinterpret_cast<const char*>(a[1]), static_cast<int>(a[2]), handled);
        if (handled) return fd;
        break;
    }
    default: break;
    }
    return REAL(syscall)(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}

}  // extern "C"
