#include "tools/clipgen/y4m_writer.h"

#include <cerrno>
#include <cstring>

namespace clipgen {

Y4mWriter::~Y4mWriter() {
    if (file_) std::fclose(file_);
}

bool Y4mWriter::open(const std::string& path, int fps, bool chroma444, std::string& error) {
    path_ = path;
    chroma444_ = chroma444;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::fprintf(file_, "YUV4MPEG2 W%d H%d F%d:1 Ip A1:1 %s\n", kWidth, kHeight, fps,
                 chroma444 ? "C444" : "C420jpeg");
    return true;
}

namespace {

// BT.601 studio range, the YUV4MPEG2 default.
uint8_t lumaOf(int r, int g, int b) {
    return static_cast<uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}
int cbOf(int r, int g, int b) { return ((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128; }
int crOf(int r, int g, int b) { return ((112 * r - 94 * g - 18 * b + 128) >> 8) + 128; }

// Chroma of the block of `size` x `size` pixels at (x, y), averaged.
void blockChroma(const Picture& picture, int x, int y, int size, uint8_t& cb, uint8_t& cr) {
    int sumB = 0, sumR = 0;
    for (int dy = 0; dy < size; ++dy)
        for (int dx = 0; dx < size; ++dx) {
            const uint8_t* p = &picture[(static_cast<size_t>(y + dy) * kWidth + x + dx) * 3];
            sumB += cbOf(p[0], p[1], p[2]);
            sumR += crOf(p[0], p[1], p[2]);
        }
    const int count = size * size;
    cb = static_cast<uint8_t>((sumB + count / 2) / count);
    cr = static_cast<uint8_t>((sumR + count / 2) / count);
}

}  // namespace

bool Y4mWriter::write(const Picture& picture) {
    const int size = chroma444_ ? 1 : 2;
    const size_t luma = static_cast<size_t>(kWidth) * kHeight;
    const size_t chroma = luma / (size * size);
    planes_.resize(luma + 2 * chroma);
    for (size_t i = 0; i < luma; ++i) {
        const uint8_t* p = &picture[i * 3];
        planes_[i] = lumaOf(p[0], p[1], p[2]);
    }
    uint8_t* cb = planes_.data() + luma;
    uint8_t* cr = cb + chroma;
    for (int y = 0; y < kHeight; y += size)
        for (int x = 0; x < kWidth; x += size) blockChroma(picture, x, y, size, *cb++, *cr++);
    return std::fputs("FRAME\n", file_) >= 0 &&
           std::fwrite(planes_.data(), 1, planes_.size(), file_) == planes_.size();
}

bool Y4mWriter::close(std::string& error) {
    const bool ok = file_ && std::fflush(file_) == 0 && !std::ferror(file_);
    const int err = errno;
    if (file_ && std::fclose(file_) != 0 && ok) {
        error = "cannot write " + path_ + ": " + std::strerror(errno);
        file_ = nullptr;
        return false;
    }
    file_ = nullptr;
    if (!ok) error = "cannot write " + path_ + ": " + std::strerror(err);
    return ok;
}

}  // namespace clipgen
