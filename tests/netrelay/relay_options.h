// The relay's command line.
#pragma once

#include <cstdint>
#include <string>

namespace netrelay {

struct RelayOptions {
    int listenPort = -1;  // 0: any free port
    std::string targetHost;
    int targetPort = 0;
    int delayMs = 0;  // one way
    int jitterMs = 0;
    double lossPercent = 0;
    double dupPercent = 0;
    double reorderPercent = 0;
    uint64_t seed = 1;
    double seconds = 300;
    uint64_t packets = 1000000;
};

// Reads argv into `options`; false with the reason in `error` for anything it cannot take.
bool parseRelayOptions(int argc, char** argv, RelayOptions* options, std::string* error);

extern const char kRelayUsage[];

}  // namespace netrelay
