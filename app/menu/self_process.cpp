#include "app/menu/self_process.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

#include "platform/win32.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace menu {

namespace {

std::string selfPath() {
    char path[4096];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return "";
    return path;
}

#ifdef _WIN32
// The C runtime joins the arguments with spaces: one with a space in it is quoted.
std::string quoted(const std::string& argument) {
    if (argument.find_first_of(" \t") == std::string::npos) return argument;
    return "\"" + argument + "\"";
}

int spawnWaiting(const std::string& program, std::vector<std::string> arguments,
                 const std::string& errorFile) {
    std::vector<const char*> argv;
    for (std::string& argument : arguments) {
        argument = quoted(argument);
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    const int file = _open(errorFile.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC, 0600);
    const int saved = _dup(2);
    if (file >= 0) _dup2(file, 2);
    const intptr_t code = _spawnv(_P_WAIT, program.c_str(), argv.data());
    _dup2(saved, 2);
    _close(saved);
    if (file >= 0) _close(file);
    return static_cast<int>(code);
}
#else
int spawnWaiting(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& errorFile) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t child = 0;
    const int failed =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        std::fprintf(stderr, "vorlaxis: cannot start %s: %s\n", program.c_str(),
                     std::strerror(failed));
        return -1;
    }
    int status = 0;
    pid_t waited = 0;
    while ((waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    if (waited < 0) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    std::fprintf(stderr, "vorlaxis: the game ended on signal %d\n", WTERMSIG(status));
    return 128 + WTERMSIG(status);
}
#endif

}  // namespace

int runSelf(const std::vector<std::string>& arguments, const std::string& errorFile) {
    const std::string program = selfPath();
    if (program.empty()) {
        std::fprintf(stderr, "vorlaxis: cannot find the game's own program file\n");
        return -1;
    }
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return spawnWaiting(program, argv, errorFile);
}

}  // namespace menu
