// The data files the build generated. CTest names the folder in VORLAXIS_DATA_DIR; a test
// program started by hand falls back to the folder it was built with.
#pragma once

#include <stdlib.h>

#include <string>

namespace testsupport {

inline std::string dataFolder() {
    const char* env = ::getenv("VORLAXIS_DATA_DIR");
    return env != nullptr && *env != '\0' ? env : VORLAXIS_DATA_DIR;
}

inline std::string dataFile(const std::string& name) { return dataFolder() + "/" + name; }

}  // namespace testsupport
