// Scratch space for tests: unique paths and folders under /tmp that never collide between
// the test programs CTest runs side by side, nor between the cases of one program.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace testsupport {

// A path nobody else uses, for a file the test writes (and removes) itself.
inline std::string scratchPath(const std::string& stem, const std::string& suffix) {
    static int counter = 0;
    return "/tmp/vorlaxis-" + stem + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + suffix;
}

// A fresh empty folder, removed with everything in it when the object goes.
class ScratchFolder {
public:
    // Memory suits tests that rewrite files thousands of times: truncating a file on a disk
    // filesystem costs milliseconds. It falls back to /tmp where /dev/shm is missing.
    enum class Storage { Disk, Memory };

    explicit ScratchFolder(const std::string& stem = "test", Storage storage = Storage::Disk) {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            if (storage == Storage::Disk && std::string(base) != "/tmp") continue;
            std::string pattern = std::string(base) + "/vorlaxis-" + stem + "-XXXXXX";
            if (::mkdtemp(pattern.data())) {
                path_ = pattern;
                return;
            }
        }
        throw std::runtime_error("cannot make a scratch folder for " + stem);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }

private:
    std::string path_;
};

}  // namespace testsupport
