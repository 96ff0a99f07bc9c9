// Writes small YUV4MPEG2 files for the capture tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "tests/support/scratch_folder.h"

namespace testclip {

// A unique path under the temporary directory, removed when the object goes.
class TempFile {
public:
    explicit TempFile(const std::string& suffix)
        : path_(testsupport::scratchPath("capture", suffix)) {}
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

    void write(const std::string& bytes) const {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

private:
    std::string path_;
};

// One frame of planar YUV with every pixel of the given value.
inline std::string uniformFrame(int width, int height, bool halfChroma, uint8_t y, uint8_t u,
                                uint8_t v) {
    const size_t luma = static_cast<size_t>(width) * height;
    const size_t chroma =
        halfChroma ? static_cast<size_t>((width + 1) / 2) * ((height + 1) / 2) : luma;
    return "FRAME\n" + std::string(luma, static_cast<char>(y)) +
           std::string(chroma, static_cast<char>(u)) + std::string(chroma, static_cast<char>(v));
}

// Frames of increasing grey: frame k has luma 16 + 10 k, neutral chroma.
inline std::string greyRamp(const std::string& header, int width, int height, bool halfChroma,
                            int frames) {
    std::string bytes = header + "\n";
    for (int k = 0; k < frames; ++k)
        bytes +=
            uniformFrame(width, height, halfChroma, static_cast<uint8_t>(16 + 10 * k), 128, 128);
    return bytes;
}

}  // namespace testclip
