// Waiting on descriptors of which some are simulated: poll(2) and select(2) answered for the
// simulated ones by their devices and for the rest by the kernel.
#include <ctime>

#include <algorithm>
#include <vector>

#include "tests/v4l2sim/interpose_table.h"

namespace v4l2sim {

// Readiness of the simulated descriptors, the others asked of the kernel without waiting;
// waits in short steps until something is ready, the timeout passes or a frame falls due.
int pollAll(pollfd* fds, nfds_t count, int timeoutMs) {
    const double deadline = v4l2sim::monotonicSeconds() + timeoutMs / 1000.0;
    std::vector<pollfd> others;
    for (;;) {
        int ready = 0;
        double nextFrame = 1e9;
        others.clear();
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            for (nfds_t i = 0; i < count; ++i) {
                OpenFile* file = lookup(fds[i].fd);
                if (!file) {
                    others.push_back(fds[i]);
                    continue;
                }
                const short events = file->device->pollEvents();
                fds[i].revents = static_cast<short>(events & (fds[i].events | POLLERR | POLLHUP));
                if (fds[i].revents) ++ready;
                nextFrame = std::min(nextFrame, file->device->secondsToNextFrame());
            }
        }
        if (!others.empty() && REAL(poll)(others.data(), others.size(), 0) > 0) {
            size_t k = 0;
            for (nfds_t i = 0; i < count; ++i)
                if (!simulated(fds[i].fd)) {
                    fds[i].revents = others[k++].revents;
                    if (fds[i].revents) ++ready;
                }
        }
        const double now = v4l2sim::monotonicSeconds();
        if (ready > 0 || timeoutMs == 0 || (timeoutMs > 0 && now >= deadline)) return ready;
        double wait = std::min(nextFrame, 0.005);  // other descriptors are looked at every 5 ms
        if (timeoutMs > 0) wait = std::min(wait, deadline - now);
        const timespec ts{0, static_cast<long>(std::max(wait, 0.0) * 1e9)};
        nanosleep(&ts, nullptr);
    }
}

int selectAll(int nfds, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, timeval* timeout) {
    std::vector<pollfd> fds;
    for (int fd = 0; fd < nfds; ++fd) {
        short events = 0;
        if (readfds && FD_ISSET(fd, readfds)) events |= POLLIN;
        if (writefds && FD_ISSET(fd, writefds)) events |= POLLOUT;
        if (exceptfds && FD_ISSET(fd, exceptfds)) events |= POLLPRI;
        if (events) fds.push_back(pollfd{fd, events, 0});
    }
    const int ms =
        timeout ? static_cast<int>(timeout->tv_sec * 1000 + timeout->tv_usec / 1000) : -1;
    const int ready = pollAll(fds.data(), fds.size(), ms);
    if (ready < 0) return ready;
    int bits = 0;
    for (fd_set* set : {readfds, writefds, exceptfds})
        if (set) FD_ZERO(set);
    for (const pollfd& p : fds) {
        if (readfds && (p.revents & (POLLIN | POLLERR | POLLHUP))) FD_SET(p.fd, readfds), ++bits;
        if (writefds && (p.revents & (POLLOUT | POLLERR))) FD_SET(p.fd, writefds), ++bits;
        if (exceptfds && (p.revents & POLLPRI)) FD_SET(p.fd, exceptfds), ++bits;
    }
    return bits;
}

}  // namespace v4l2sim
