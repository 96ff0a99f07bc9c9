#include "tests/animation/test_helpers.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

const char* const KEYFRAME_FILES[18] = {
    "Punch00.txt",     "Punch01.txt",     "Punch02.txt",     "Punch03.txt",
    "Punch04.txt",     "HeadPunch01.txt", "HeadPunch02.txt", "HeadPunch03.txt",
    "HeadPunch04.txt", "HeadPunch05.txt", "ComboPrep01.txt", "ComboPrep02.txt",
    "Banana01.txt",    "Banana02.txt",    "Banana03.txt",    "Ayuken01.txt",
    "Ayuken02.txt",    "Ayuken03.txt"};

// Memory-backed when the system has it: the fuzz tests rewrite files thousands of times, and
// truncating a file on a disk filesystem costs milliseconds.
TempDir::TempDir() {
    for (std::string base : {"/dev/shm", "/tmp"}) {
        std::string pattern = base + "/vorlaxis-animation-XXXXXX";
        if (mkdtemp(pattern.data())) {
            dir = pattern;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

void TempDir::write(const std::string& name, const std::string& contents) const {
    std::ofstream out(file(name), std::ios::binary);
    out << contents;
}

WorkingDir::WorkingDir(const std::string& dir) {
    previous = std::filesystem::current_path().string();
    std::filesystem::current_path(dir);
}

WorkingDir::~WorkingDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
}

Model readModel(const std::string& path) {
    FileReader reader(path.c_str());
    return reader.getAll();
}
