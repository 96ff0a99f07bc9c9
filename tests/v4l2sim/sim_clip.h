// The pictures the simulated webcam films: a YUV4MPEG2 clip, decoded to RGB and encoded
// the way a UVC camera delivers them (YUYV or motion JPEG), each encoded frame cached so the
// game's process does not pay a camera's encoding cost.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace v4l2sim {

class SimClip {
public:
    // False with the reason when the file is not a clip this reader knows (420 or 444,
    // progressive).
    bool load(const std::string& path, std::string& error);

    int frameCount() const { return static_cast<int>(frames_.size()); }
    double framesPerSecond() const { return fps_; }

    // Frame `index` (looping) scaled to width x height and encoded as `fourcc` (YUYV or MJPG).
    const std::vector<uint8_t>& encoded(int index, uint32_t fourcc, int width, int height);

private:
    std::vector<uint8_t> rgbAt(int index, int width, int height) const;

    int width_ = 0;
    int height_ = 0;
    double fps_ = 30.0;
    std::vector<std::vector<uint8_t>> frames_;  // RGB24, top-down
    std::map<std::tuple<int, uint32_t, int, int>, std::vector<uint8_t>> cache_;
};

// Full-range (JFIF) YUYV from RGB, as libv4l2 expects from a webcam.
std::vector<uint8_t> rgbToYuyv(const std::vector<uint8_t>& rgb, int width, int height);
// Baseline JPEG, 4:2:2 like most UVC cameras' motion JPEG.
std::vector<uint8_t> rgbToJpeg(const std::vector<uint8_t>& rgb, int width, int height);

}  // namespace v4l2sim
