// The simulated webcam (tests/v4l2sim) for tests: where its library is, the environment that
// configures it, and the clips it films.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace simcam {

inline std::string libraryPath() {
    return std::string(VORLAXIS_BIN_DIR) + "/tests/v4l2sim/libv4l2sim.so";
}

// ASan wants to be first among the loaded libraries; the simulation has to come before libc.
// The runtime of this toolchain (GCC 12) misreads some of the dynamic TLS blocks that Mesa
// makes and can crash in the leak check at exit, so a child started by hand, outside
// scripts/test, is kept off that path too; drop it with the runtime of GCC 14 or LLVM 17.
inline std::string asanOptionsWithPreload() {
    const char* current = std::getenv("ASAN_OPTIONS");
    return std::string(current && *current ? std::string(current) + ":" : "") +
           "verify_asan_link_order=0:intercept_tls_get_addr=0";
}

// Environment entries (NAME=VALUE) that load the simulation into a child process.
inline std::vector<std::string> preloadEnvironment() {
    return {"LD_PRELOAD=" + libraryPath(), "ASAN_OPTIONS=" + asanOptionsWithPreload()};
}

// Restarts the running test program with the simulation loaded, once, before any test runs.
inline bool ensurePreloaded(char** argv) {
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload && std::strstr(preload, "libv4l2sim.so")) return true;
    for (const std::string& entry : preloadEnvironment()) {
        const size_t eq = entry.find('=');
        setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
    }
    ::execv("/proc/self/exe", argv);
    return false;
}

// The settings of the simulation, removed again when the object goes.
class SimSettings {
public:
    SimSettings() { clear(); }
    ~SimSettings() { clear(); }
    SimSettings& set(const char* name, const std::string& value) {
        setenv(name, value.c_str(), 1);
        return *this;
    }

private:
    static void clear() {
        for (const char* name :
             {"VORLAXIS_SIM_DEVICE", "VORLAXIS_SIM_META_DEVICE", "VORLAXIS_SIM_CLIP",
              "VORLAXIS_SIM_FORMATS", "VORLAXIS_SIM_BUSY", "VORLAXIS_SIM_DENIED",
              "VORLAXIS_SIM_UNPLUG_AFTER", "VORLAXIS_CAMERA"})
            unsetenv(name);
    }
};

// The running program's own command line, to restart it.
inline bool restartWithSimulation() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> args;
    std::string arg;
    while (std::getline(in, arg, '\0')) args.push_back(arg);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return ensurePreloaded(argv.data());
}

}  // namespace simcam
