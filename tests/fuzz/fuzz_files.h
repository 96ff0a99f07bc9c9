// Harness helper: the readers under test take file names, so each input is written to a file
// in a private temporary folder first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzfiles {

// The private folder, made on first use (under $TMPDIR, else /dev/shm or /tmp). Removed at exit.
const std::string& folder();

// Writes `size` bytes to `name` inside the folder and returns its path.
std::string write(const std::string& name, const uint8_t* data, size_t size);

// Removes `name` from the folder when it is there.
void remove(const std::string& name);

}  // namespace fuzzfiles
