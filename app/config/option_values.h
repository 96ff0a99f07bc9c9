#pragma once
// Reading the values of the command line's options, shared by every group of options.
#include <cstdint>

// Whether `arg` is `--name` or `--name=value`; sets *value to what follows '=' (or null).
bool matches(const char* arg, const char* name, const char** value);

// Whether `text` is one or more digits and nothing else.
bool allDigits(const char* text);

// A whole number from `low` to `high`, or -1.
long numberIn(const char* text, long low, long high);

// A seed: up to 19 digits, which always fit in 64 bits.
bool seedIn(const char* text, uint64_t& seed);

// The value of an option that needs one: after '=' or in the next argument, unless that is
// another option (then the value was forgotten). Null when there is none.
const char* valueOf(const char* value, int argc, const char* const* argv, int& i);
