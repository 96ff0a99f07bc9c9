// What the install tests share: the generated data files, command runs, PNG sizes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/game_process.h"
#include "tests/support/data_folder.h"
#include "tests/support/scratch_folder.h"

namespace install {

namespace fs = std::filesystem;

// Every data file the build generated, by name.
inline std::vector<std::string> dataFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(testsupport::dataFolder()))
        if (entry.is_regular_file() && entry.path().filename() != ".generated")
            names.push_back(entry.path().filename().string());
    return names;
}

// Runs a shell command; returns its exit code and fills `output` with stdout and stderr.
inline int run(const std::string& command, std::string& output) {
    const std::string file = testsupport::scratchPath("run", ".txt");
    const int status = std::system(("(" + command + ") > " + file + " 2>&1").c_str());
    output = e2e::slurp(file);
    std::remove(file.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct PngHeader {
    uint32_t width = 0, height = 0;
    int colourType = -1;
};

// Width, height and colour type from a PNG's IHDR chunk; zeros when it is no PNG.
inline PngHeader pngHeader(const std::string& path) {
    const std::string bytes = e2e::slurp(path);
    PngHeader header;
    if (bytes.size() < 26 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return header;
    auto bigEndian = [&bytes](size_t at) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
        return value;
    };
    header.width = bigEndian(16);
    header.height = bigEndian(20);
    header.colourType = static_cast<uint8_t>(bytes[25]);
    return header;
}

}  // namespace install
