#include "app/run/run_failure.h"

#include <cstdio>

namespace {

std::string lastReason;  // main thread only

}  // namespace

void reportFailure(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    keepFailure(line);
}

void keepFailure(const std::string& reason) {
    const std::string prefix = "vorlaxis: ";
    lastReason =
        reason.compare(0, prefix.size(), prefix) == 0 ? reason.substr(prefix.size()) : reason;
}

std::string takeFailure() {
    std::string reason;
    reason.swap(lastReason);
    return reason;
}
