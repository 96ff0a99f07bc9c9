#include "tests/fuzz/fuzz_files.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace fuzzfiles {

namespace {

std::string made;

void removeFolder() {
    if (made.empty()) return;
    if (DIR* dir = opendir(made.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') std::remove((made + "/" + entry->d_name).c_str());
        closedir(dir);
    }
    rmdir(made.c_str());
}

}  // namespace

const std::string& folder() {
    if (made.empty()) {
        // Memory-backed when the machine has it: a disk-backed /tmp makes writing the input
        // cost a hundred times what reading it does.
        const char* tmp = std::getenv("TMPDIR");
        const char* base = tmp && *tmp ? tmp : access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/vorlaxis-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("cannot make the harness's temporary folder");
            std::abort();
        }
        made = pattern;
        std::atexit(removeFolder);
    }
    return made;
}

std::string write(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = folder() + "/" + name;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || (size && ::write(fd, data, size) != static_cast<ssize_t>(size))) {
        std::perror(path.c_str());
        std::abort();
    }
    close(fd);
    return path;
}

void remove(const std::string& name) { std::remove((folder() + "/" + name).c_str()); }

}  // namespace fuzzfiles

// Every harness reads many small files per input. ASan's filling of each new allocation and
// its 256 MB quarantine then cost more page faults than the reading itself; a smaller
// quarantine still catches a use after free within the same input.
extern "C" const char* __asan_default_options() {
    return "max_malloc_fill_size=0:quarantine_size_mb=16";
}
