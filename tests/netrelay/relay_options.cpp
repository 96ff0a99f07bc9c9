#include "relay_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

namespace netrelay {

const char kRelayUsage[] =
    "usage: udp_relay --listen PORT --to HOST:PORT [--delay MS] [--jitter MS] [--loss PCT]\n"
    "                 [--dup PCT] [--reorder PCT] [--seed N] [--seconds S] [--packets N]\n";

namespace {

bool readNumber(const char* text, double low, double high, double* value) {
    if (!*text) return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtod(text, &end);
    return errno == 0 && *end == '\0' && *value >= low && *value <= high;
}

bool readWhole(const char* text, double low, double high, int* value) {
    double number = 0;
    if (!readNumber(text, low, high, &number) || number != static_cast<int>(number)) return false;
    *value = static_cast<int>(number);
    return true;
}

bool readUnsigned(const char* text, uint64_t low, uint64_t* value) {
    if (!*text || *text == '-') return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtoull(text, &end, 10);
    return errno == 0 && *end == '\0' && *value >= low;
}

// HOST:PORT, or [HOST]:PORT for an address with colons of its own.
bool readTarget(const char* text, RelayOptions* options) {
    std::string target(text);
    const size_t colon = target.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    std::string host = target.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    options->targetHost = host;
    return readWhole(target.c_str() + colon + 1, 1, 65535, &options->targetPort);
}

using Reader = std::function<bool(const char*, RelayOptions*)>;

const std::map<std::string, Reader>& readers() {
    static const std::map<std::string, Reader> table = {
        {"--listen",
         [](const char* v, RelayOptions* o) { return readWhole(v, 0, 65535, &o->listenPort); }},
        {"--to", readTarget},
        {"--delay",
         [](const char* v, RelayOptions* o) { return readWhole(v, 0, 600000, &o->delayMs); }},
        {"--jitter",
         [](const char* v, RelayOptions* o) { return readWhole(v, 0, 600000, &o->jitterMs); }},
        {"--loss",
         [](const char* v, RelayOptions* o) { return readNumber(v, 0, 100, &o->lossPercent); }},
        {"--dup",
         [](const char* v, RelayOptions* o) { return readNumber(v, 0, 100, &o->dupPercent); }},
        {"--reorder",
         [](const char* v, RelayOptions* o) { return readNumber(v, 0, 100, &o->reorderPercent); }},
        {"--seed", [](const char* v, RelayOptions* o) { return readUnsigned(v, 0, &o->seed); }},
        {"--seconds",
         [](const char* v, RelayOptions* o) { return readNumber(v, 0.001, 1e7, &o->seconds); }},
        {"--packets",
         [](const char* v, RelayOptions* o) { return readUnsigned(v, 1, &o->packets); }},
    };
    return table;
}

}  // namespace

bool parseRelayOptions(int argc, char** argv, RelayOptions* options, std::string* error) {
    for (int i = 1; i < argc; i += 2) {
        const auto reader = readers().find(argv[i]);
        if (reader == readers().end()) {
            *error = std::string("unknown option ") + argv[i];
            return false;
        }
        if (i + 1 >= argc) {
            *error = std::string(argv[i]) + " needs a value";
            return false;
        }
        if (!reader->second(argv[i + 1], options)) {
            *error = std::string("bad value for ") + argv[i] + ": " + argv[i + 1];
            return false;
        }
    }
    if (options->listenPort < 0 || options->targetHost.empty()) {
        *error = "--listen and --to are required";
        return false;
    }
    return true;
}

}  // namespace netrelay
