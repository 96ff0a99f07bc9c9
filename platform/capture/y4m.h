// YUV4MPEG2 clips as a camera: the stream header, an index of the complete frames, and the
// frame due at a given time when the clip plays in real time at its own rate, looping.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/capture/camera_frame.h"

namespace camera {

struct Y4mHeader {
    int width = 0;
    int height = 0;
    int rateNum = 0;  // frames per second = rateNum / rateDen
    int rateDen = 0;
    bool halfChroma = true;  // 4:2:0 (every 420 variant) or 4:4:4
    bool fullRange = false;  // XCOLORRANGE=FULL
    // XVORLAXIS_CALIBRATION=STAND,PALM: the frames of each phase of the room recognition's
    // calibration in a clip the game recorded (0 when the clip does not say).
    int calibrationFrames[2] = {0, 0};
    size_t frameBytes() const;
};

// Largest picture side a clip may declare; beyond that the header is taken as corrupt.
constexpr int kMaxY4mSide = 4096;
// Frames indexed at most (over nine hours at 30 a second); the rest of a longer clip is not played.
constexpr int kMaxY4mFrames = 1000000;
// Longest stream or frame header line accepted before the line is taken as corrupt.
constexpr size_t kMaxY4mLine = 1024;

// Parses one stream header line, without its newline. On failure returns false and says why.
bool parseY4mHeader(const std::string& line, Y4mHeader& header, std::string& error);

class Y4mClip {
public:
    Y4mClip() = default;
    ~Y4mClip();
    Y4mClip(const Y4mClip&) = delete;
    Y4mClip& operator=(const Y4mClip&) = delete;

    // Reads the header and indexes the frames. Fails (with the reason, naming the file) when
    // the file cannot be read, the header is not valid or no frame is complete. A damaged
    // tail is tolerated: the clip then plays its complete frames and warning() says so.
    bool open(const std::string& path, std::string& error);

    const Y4mHeader& header() const { return header_; }
    int frameCount() const { return static_cast<int>(offsets_.size()); }
    const std::string& warning() const { return warning_; }

    // The frame shown `seconds` after playback started, looping over the clip.
    int frameIndexAt(double seconds) const;

    // Decodes frame `index` (0..frameCount()-1) into `out`, scaled to out's fit size when it
    // asks for one; false with the reason on a read
    // failure (the file changed under us), leaving `out` as it was.
    bool readFrame(int index, RgbFrame& out, std::string& error);

private:
    bool readLine(std::string& line, bool& tooLong);
    void indexFrames(long dataStart, long fileSize);

    std::string path_;
    std::FILE* file_ = nullptr;
    Y4mHeader header_;
    std::vector<long> offsets_;  // file offset of each complete frame's pixel data
    std::vector<uint8_t> raw_;
    std::string warning_;
};

}  // namespace camera
