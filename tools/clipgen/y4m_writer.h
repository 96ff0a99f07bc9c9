// 320 x 240 pictures written as a YUV4MPEG2 clip, the format the game plays as a camera.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace clipgen {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kHalf = kWidth / 2;

// One picture, rows top-down, 3 bytes a pixel, red first.
using Picture = std::vector<uint8_t>;

class Y4mWriter {
public:
    ~Y4mWriter();
    bool open(const std::string& path, int fps, bool chroma444, std::string& error);
    bool write(const Picture& picture);
    bool close(std::string& error);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    bool chroma444_ = false;
    std::vector<uint8_t> planes_;
};

}  // namespace clipgen
