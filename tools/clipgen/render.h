// Drawing the frames of a clip and writing them as YUV4MPEG2.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/clipgen/script.h"

namespace clipgen {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kHalf = kWidth / 2;

// One picture, rows top-down, 3 bytes a pixel, red first.
using Picture = std::vector<uint8_t>;

// Draws frame `frame` of the clip, `step` frames into `segment`.
void drawFrame(const Segment& segment, int step, long frame, unsigned seed, Picture& picture);

// True when every background pixel stays at or below the frame's mean grey level with a
// level to spare and every hand pixel above it: what a mean-threshold mask needs to see the
// hands and nothing else.
bool handsStandOut(const Picture& picture);

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
