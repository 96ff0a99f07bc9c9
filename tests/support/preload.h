// Loading a simulation library (LD_PRELOAD) into test programs and the games they start.
#pragma once

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace testsupport {

// Environment entries (NAME=VALUE) that load `library` into a child process. ASan wants to be
// first among the loaded libraries; the simulation has to come before libc. The runtime of
// this toolchain (GCC 12) misreads some of the dynamic TLS blocks that Mesa makes and can
// crash in the leak check at exit, so a child started by hand, outside scripts/test, is kept
// off that path too; drop it with the runtime of GCC 14 or LLVM 17.
inline std::vector<std::string> preloadEnvironment(const std::string& library) {
    const char* asan = std::getenv("ASAN_OPTIONS");
    return {"LD_PRELOAD=" + library,
            "ASAN_OPTIONS=" + std::string(asan && *asan ? std::string(asan) + ":" : "") +
                "verify_asan_link_order=0:intercept_tls_get_addr=0"};
}

// Restarts this program, `argv` being its command line, with `library` preloaded, unless it
// already is: true then, false only when the restart failed.
inline bool restartPreloaded(const std::string& library, char** argv) {
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload && std::strstr(preload, library.c_str())) return true;
    for (const std::string& entry : preloadEnvironment(library)) {
        const size_t eq = entry.find('=');
        setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
    }
    ::execv("/proc/self/exe", argv);
    return false;
}

// The same before main (a test program's static start), its command line read back.
inline bool restartPreloaded(const std::string& library) {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> args;
    std::string arg;
    while (std::getline(in, arg, '\0')) args.push_back(arg);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return restartPreloaded(library, argv.data());
}

}  // namespace testsupport
