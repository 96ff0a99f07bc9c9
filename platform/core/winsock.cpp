// Winsock over the system's BSD sockets. A SOCKET is the descriptor itself, so the C library's
// calls take it as they are; only the calls Windows adds, and its error numbers, live here.
#include "platform/core/winsock.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlaxis::platform {

namespace {

// Ours, with the customer bit, and the errno in the low bits; clear of the layer's other codes.
constexpr DWORD kErrorFromErrno = 0x20010000;
constexpr DWORD kErrnoMask = 0xFFFF;

struct ErrnoCode {
    int error;
    int code;
};

// Where several errno values share a code, the first gives the code its text.
constexpr ErrnoCode kErrnoCodes[] = {
    {EINTR, WSAEINTR},
    {EACCES, WSAEACCES},
    {EPERM, WSAEACCES},
    {EFAULT, WSAEFAULT},
    {EINVAL, WSAEINVAL},
    {EMFILE, WSAEMFILE},
    {ENFILE, WSAEMFILE},
    {EWOULDBLOCK, WSAEWOULDBLOCK},
    {EAGAIN, WSAEWOULDBLOCK},
    {ENOTSOCK, WSAENOTSOCK},
    {EBADF, WSAENOTSOCK},
    {EMSGSIZE, WSAEMSGSIZE},
    {EPROTONOSUPPORT, WSAEPROTONOSUPPORT},
    {EAFNOSUPPORT, WSAEAFNOSUPPORT},
    {EADDRINUSE, WSAEADDRINUSE},
    {EADDRNOTAVAIL, WSAEADDRNOTAVAIL},
    {ENETUNREACH, WSAENETUNREACH},
    // Windows tells of a peer's ICMP port-unreachable as a reset, Linux as a refusal.
    {ECONNRESET, WSAECONNRESET},
    {ECONNREFUSED, WSAECONNRESET},
    {ENOBUFS, WSAENOBUFS},
    {ENOMEM, WSAENOBUFS},
    {EHOSTUNREACH, WSAEHOSTUNREACH},
};

int errnoOf(DWORD code) {
    if ((code & ~kErrnoMask) == kErrorFromErrno) return static_cast<int>(code & kErrnoMask);
    for (const ErrnoCode& entry : kErrnoCodes)
        if (static_cast<DWORD>(entry.code) == code) return entry.error;
    return 0;
}

// The descriptor behind `s` when it is a socket; -1 with errno set otherwise.
int socketDescriptor(SOCKET s) {
    if (s > static_cast<SOCKET>(INT_MAX)) {
        errno = ENOTSOCK;
        return -1;
    }
    const int fd = static_cast<int>(s);
    struct stat info {};
    if (::fstat(fd, &info) != 0) return -1;
    if (!S_ISSOCK(info.st_mode)) {
        errno = ENOTSOCK;
        return -1;
    }
    return fd;
}

constexpr WORD kHighestVersion = MAKEWORD(2, 2);

// A WORD version keeps the major number in its low byte.
int versionOrder(WORD version) { return (version & 0xFF) * 256 + (version >> 8); }

}  // namespace

int socketErrorFromErrno(int error) {
    for (const ErrnoCode& entry : kErrnoCodes)
        if (entry.error == error) return entry.code;
    return static_cast<int>(kErrorFromErrno | (static_cast<DWORD>(error) & kErrnoMask));
}

bool socketErrorText(DWORD code, std::string* text) {
    const int error = errnoOf(code);
    if (error == 0) return false;
    char buffer[256];
    *text = std::string(::strerror_r(error, buffer, sizeof buffer)) + ".\r\n";
    return true;
}

}  // namespace vorlaxis::platform

using namespace vorlaxis::platform;

int WINAPI WSAStartup(WORD versionRequested, LPWSADATA data) {
    if (!data) return WSAEFAULT;
    if ((versionRequested & 0xFF) == 0) return WSAVERNOTSUPPORTED;
    std::memset(data, 0, sizeof *data);
    data->wVersion = versionOrder(versionRequested) < versionOrder(kHighestVersion)
                         ? versionRequested
                         : kHighestVersion;
    data->wHighVersion = kHighestVersion;
    std::strcpy(data->szDescription, "WinSock 2.0");
    std::strcpy(data->szSystemStatus, "Running");
    return 0;
}

int WINAPI WSACleanup(void) { return 0; }

int WINAPI WSAGetLastError(void) { return errno == 0 ? 0 : socketErrorFromErrno(errno); }

int WINAPI closesocket(SOCKET s) {
    const int fd = socketDescriptor(s);
    return fd >= 0 && ::close(fd) == 0 ? 0 : SOCKET_ERROR;
}

int WINAPI ioctlsocket(SOCKET s, long cmd, u_long* argp) {
    const int fd = socketDescriptor(s);
    if (fd < 0) return SOCKET_ERROR;
    if (cmd != static_cast<long>(FIONBIO) || !argp) {
        errno = argp ? EINVAL : EFAULT;
        return SOCKET_ERROR;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) return SOCKET_ERROR;
    const int wanted = *argp ? flags | O_NONBLOCK : flags & ~O_NONBLOCK;
    return ::fcntl(fd, F_SETFL, wanted) == 0 ? 0 : SOCKET_ERROR;
}
