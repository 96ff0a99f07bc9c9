// Counts the game's turns for the camera speed test: every turn ends in one buffer swap.
// Preloaded beside the simulated webcam; VORLAXIS_TURNS_FILE names a file that holds
// "<turns> <seconds> <cpu seconds>" (the monotonic clock, and the CPU time of the whole
// process), rewritten every few turns.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr long kEvery = 10;

void record(long turns) {
    static const char* path = std::getenv("VORLAXIS_TURNS_FILE");
    if (!path) return;
    timespec wall{}, cpu{};
    clock_gettime(CLOCK_MONOTONIC, &wall);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    char line[96];
    const int n = std::snprintf(line, sizeof line, "%ld %.6f %.6f\n", turns,
                                wall.tv_sec + wall.tv_nsec / 1e9, cpu.tv_sec + cpu.tv_nsec / 1e9);
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    const ssize_t written = ::write(fd, line, static_cast<size_t>(n));
    (void)written;  // a lost sample only shortens the measurement
    ::close(fd);
}

}  // namespace

extern "C" void SDL_GL_SwapBuffers() {
    static auto next = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    static long turns = 0;
    next();
    if (++turns % kEvery == 0) record(turns);
}
