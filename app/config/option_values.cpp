#include "app/config/option_values.h"

#include <cstring>

bool matches(const char* arg, const char* name, const char** value) {
    const size_t n = std::strlen(name);
    if (std::strncmp(arg, name, n) != 0) return false;
    if (arg[n] == '\0') {
        *value = nullptr;
        return true;
    }
    if (arg[n] != '=') return false;
    *value = arg + n + 1;
    return true;
}

bool allDigits(const char* text) {
    if (!text || !*text) return false;
    for (const char* c = text; *c; ++c)
        if (*c < '0' || *c > '9') return false;
    return true;
}

long numberIn(const char* text, long low, long high) {
    if (!allDigits(text)) return -1;
    long value = 0;
    for (const char* c = text; *c; ++c) {
        value = value * 10 + (*c - '0');
        if (value > high) return -1;
    }
    return value < low ? -1 : value;
}

bool seedIn(const char* text, uint64_t& seed) {
    if (!text || !*text || std::strlen(text) > 19) return false;
    uint64_t value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(*c - '0');
    }
    seed = value;
    return true;
}

const char* valueOf(const char* value, int argc, const char* const* argv, int& i) {
    if (!value && i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) value = argv[++i];
    return value && *value ? value : nullptr;
}
