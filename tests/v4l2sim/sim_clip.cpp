#include "tests/v4l2sim/sim_clip.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include <linux/videodev2.h>
#include <turbojpeg.h>

namespace v4l2sim {

namespace {

uint8_t clampByte(double value) {
    return static_cast<uint8_t>(std::clamp(value + 0.5, 0.0, 255.0));
}

struct Header {
    int width = 0, height = 0, rateNum = 30, rateDen = 1;
    bool halfChroma = true, fullRange = false;
};

bool parseHeader(const std::string& line, Header& h, std::string& error) {
    if (line.rfind("YUV4MPEG2 ", 0) != 0) {
        error = "not a YUV4MPEG2 clip";
        return false;
    }
    size_t pos = 10;
    while (pos < line.size()) {
        size_t end = line.find(' ', pos);
        if (end == std::string::npos) end = line.size();
        const std::string token = line.substr(pos, end - pos);
        pos = end + 1;
        if (token.empty()) continue;
        const std::string value = token.substr(1);
        switch (token[0]) {
        case 'W': h.width = std::atoi(value.c_str()); break;
        case 'H': h.height = std::atoi(value.c_str()); break;
        case 'F': std::sscanf(value.c_str(), "%d:%d", &h.rateNum, &h.rateDen); break;
        case 'C': h.halfChroma = value.rfind("444", 0) != 0; break;
        case 'I':
            if (value != "p") {
                error = "interlaced clips are not supported";
                return false;
            }
            break;
        case 'X': h.fullRange |= value == "COLORRANGE=FULL"; break;
        default: break;
        }
    }
    if (h.width <= 0 || h.height <= 0 || h.width > 4096 || h.height > 4096 || h.rateNum <= 0 ||
        h.rateDen <= 0) {
        error = "bad clip header";
        return false;
    }
    return true;
}

// BT.601, studio or full range, to RGB24.
void planesToRgb(const Header& h, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                 std::vector<uint8_t>& rgb) {
    const int cw = h.halfChroma ? (h.width + 1) / 2 : h.width;
    const int shift = h.halfChroma ? 1 : 0;
    rgb.resize(static_cast<size_t>(h.width) * h.height * 3);
    uint8_t* out = rgb.data();
    for (int row = 0; row < h.height; ++row)
        for (int col = 0; col < h.width; ++col, out += 3) {
            const size_t c = static_cast<size_t>(row >> shift) * cw + (col >> shift);
            const double luma = h.fullRange ? y[row * h.width + col]
                                            : (y[row * h.width + col] - 16) * 255.0 / 219.0;
            const double scale = h.fullRange ? 1.0 : 255.0 / 224.0;
            const double cb = (u[c] - 128) * scale, cr = (v[c] - 128) * scale;
            out[0] = clampByte(luma + 1.402 * cr);
            out[1] = clampByte(luma - 0.344136 * cb - 0.714136 * cr);
            out[2] = clampByte(luma + 1.772 * cb);
        }
}

}  // namespace

bool SimClip::load(const std::string& path, std::string& error) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        error = "cannot open the clip " + path;
        return false;
    }
    char line[1024];
    Header h;
    if (!std::fgets(line, sizeof line, file.get())) {
        error = "empty clip " + path;
        return false;
    }
    std::string header(line);
    if (!header.empty() && header.back() == '\n') header.pop_back();
    if (!parseHeader(header, h, error)) return false;
    const size_t luma = static_cast<size_t>(h.width) * h.height;
    const size_t chroma =
        h.halfChroma ? static_cast<size_t>((h.width + 1) / 2) * ((h.height + 1) / 2) : luma;
    std::vector<uint8_t> raw(luma + 2 * chroma);
    while (std::fgets(line, sizeof line, file.get()) && std::strncmp(line, "FRAME", 5) == 0) {
        if (std::fread(raw.data(), 1, raw.size(), file.get()) != raw.size()) break;
        frames_.emplace_back();
        planesToRgb(h, raw.data(), raw.data() + luma, raw.data() + luma + chroma, frames_.back());
    }
    if (frames_.empty()) {
        error = "no complete frame in " + path;
        return false;
    }
    width_ = h.width;
    height_ = h.height;
    fps_ = static_cast<double>(h.rateNum) / h.rateDen;
    return true;
}

// Nearest-neighbour: the sensor's picture at the size the driver was set to.
std::vector<uint8_t> SimClip::rgbAt(int index, int width, int height) const {
    const std::vector<uint8_t>& src = frames_[static_cast<size_t>(index) % frames_.size()];
    std::vector<uint8_t> out(static_cast<size_t>(width) * height * 3);
    for (int row = 0; row < height; ++row) {
        const int sy = static_cast<int>((row + 0.5) * height_ / height);
        for (int col = 0; col < width; ++col) {
            const int sx = static_cast<int>((col + 0.5) * width_ / width);
            std::memcpy(&out[(static_cast<size_t>(row) * width + col) * 3],
                        &src[(static_cast<size_t>(sy) * width_ + sx) * 3], 3);
        }
    }
    return out;
}

const std::vector<uint8_t>& SimClip::encoded(int index, uint32_t fourcc, int width, int height) {
    index %= frameCount();
    const auto key = std::make_tuple(index, fourcc, width, height);
    auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    const std::vector<uint8_t> rgb = rgbAt(index, width, height);
    std::vector<uint8_t> bytes = fourcc == V4L2_PIX_FMT_MJPEG ? rgbToJpeg(rgb, width, height)
                                                              : rgbToYuyv(rgb, width, height);
    return cache_.emplace(key, std::move(bytes)).first->second;
}

std::vector<uint8_t> rgbToYuyv(const std::vector<uint8_t>& rgb, int width, int height) {
    std::vector<uint8_t> out(static_cast<size_t>(width) * height * 2);
    for (size_t p = 0; p + 1 < static_cast<size_t>(width) * height; p += 2) {
        const uint8_t* a = &rgb[p * 3];
        const uint8_t* b = a + 3;
        const auto luma = [](const uint8_t* c) {
            return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2];
        };
        const double r = (a[0] + b[0]) / 2.0, g = (a[1] + b[1]) / 2.0, bl = (a[2] + b[2]) / 2.0;
        out[p * 2] = clampByte(luma(a));
        out[p * 2 + 1] = clampByte(128 - 0.168736 * r - 0.331264 * g + 0.5 * bl);
        out[p * 2 + 2] = clampByte(luma(b));
        out[p * 2 + 3] = clampByte(128 + 0.5 * r - 0.418688 * g - 0.081312 * bl);
    }
    return out;
}

std::vector<uint8_t> rgbToJpeg(const std::vector<uint8_t>& rgb, int width, int height) {
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> out;
    if (handle && tjCompress2(handle, rgb.data(), width, 0, height, TJPF_RGB, &jpeg, &size,
                              TJSAMP_422, 90, TJFLAG_ACCURATEDCT) == 0)
        out.assign(jpeg, jpeg + size);
    if (jpeg) tjFree(jpeg);
    if (handle) tjDestroy(handle);
    return out;
}

}  // namespace v4l2sim
