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

#include "tests/support/preload.h"

namespace simcam {

inline std::string libraryPath() {
    return std::string(VORLAXIS_BIN_DIR) + "/tests/v4l2sim/libv4l2sim.so";
}

// Environment entries (NAME=VALUE) that load the simulation into a child process.
inline std::vector<std::string> preloadEnvironment() {
    return testsupport::preloadEnvironment(libraryPath());
}

// Restarts the running program (`argv`, its command line) with the simulation loaded.
inline bool ensurePreloaded(char** argv) {
    return testsupport::restartPreloaded(libraryPath(), argv);
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

// Restarts the running test program with the simulation loaded, once, before any test runs.
inline bool restartWithSimulation() { return testsupport::restartPreloaded(libraryPath()); }

}  // namespace simcam
