#include "platform/capture/y4m.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sstream>

#include <sys/stat.h>

namespace camera {

size_t Y4mHeader::frameBytes() const {
    const size_t luma = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t chroma = static_cast<size_t>(chromaWidth(width, halfChroma)) *
                          static_cast<size_t>(chromaHeight(height, halfChroma));
    return luma + 2 * chroma;
}

namespace {

constexpr const char* kMagic = "YUV4MPEG2";

// Strict decimal: digits only, no sign, at most 9 of them so it cannot overflow.
bool parseCount(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool parseSide(const std::string& token, int& side, std::string& error) {
    if (!parseCount(token.substr(1), side) || side < 1 || side > kMaxY4mSide) {
        error =
            "picture size " + token + " is not valid (1 to " + std::to_string(kMaxY4mSide) + ")";
        return false;
    }
    return true;
}

bool parseRate(const std::string& token, Y4mHeader& header, std::string& error) {
    const size_t colon = token.find(':');
    int num = 0, den = 0;
    const bool ok = colon != std::string::npos && parseCount(token.substr(1, colon - 1), num) &&
                    parseCount(token.substr(colon + 1), den) && num > 0 && den > 0;
    // Below one frame in ten seconds or above a thousand a second is not a camera.
    if (!ok || static_cast<double>(num) / den < 0.1 || static_cast<double>(num) / den > 1000.0) {
        error = "frame rate " + token + " is not valid (F<num>:<den>, 0.1 to 1000 frames a second)";
        return false;
    }
    header.rateNum = num;
    header.rateDen = den;
    return true;
}

bool parseInterlace(const std::string& token, std::string& error) {
    if (token == "Ip" || token == "I?") return true;
    if (token == "It" || token == "Ib" || token == "Im")
        error = "interlaced clips are not supported (" + token + "); only progressive (Ip)";
    else
        error = "interlace mode " + token + " is not valid";
    return false;
}

bool parseColourSpace(const std::string& token, Y4mHeader& header, std::string& error) {
    const std::string space = token.substr(1);
    if (space == "420jpeg" || space == "420paldv" || space == "420mpeg2" || space == "420") {
        header.halfChroma = true;
        return true;
    }
    if (space == "444") {
        header.halfChroma = false;
        return true;
    }
    error =
        "colour space " + token + " is not supported (C420jpeg, C420paldv, C420mpeg2, C420, C444)";
    return false;
}

// Numbers that do not parse, or are out of range, leave the clip without them.
void parseCalibration(const std::string& token, Y4mHeader& header) {
    static const std::string kName = "XVORLAXIS_CALIBRATION=";
    if (token.compare(0, kName.size(), kName) != 0) return;
    int stand = 0, palm = 0;
    char end = 0;
    if (std::sscanf(token.c_str() + kName.size(), "%d,%d%c", &stand, &palm, &end) != 2) return;
    if (stand <= 0 || palm <= 0 || stand > kMaxY4mFrames || palm > kMaxY4mFrames) return;
    header.calibrationFrames[0] = stand;
    header.calibrationFrames[1] = palm;
}

bool parseToken(const std::string& token, Y4mHeader& header, std::string& error) {
    switch (token[0]) {
    case 'W': return parseSide(token, header.width, error);
    case 'H': return parseSide(token, header.height, error);
    case 'F': return parseRate(token, header, error);
    case 'I': return parseInterlace(token, error);
    case 'C': return parseColourSpace(token, header, error);
    case 'X':
        if (token == "XCOLORRANGE=FULL") header.fullRange = true;
        parseCalibration(token, header);
        return true;
    default: return true;  // aspect ratio and tags of later versions do not change the pixels
    }
}

}  // namespace

bool parseY4mHeader(const std::string& line, Y4mHeader& header, std::string& error) {
    header = Y4mHeader{};
    std::istringstream in(line);
    std::string token;
    if (!(in >> token) || token != kMagic) {
        error = "not a YUV4MPEG2 clip (the file does not start with \"YUV4MPEG2 \")";
        return false;
    }
    while (in >> token)
        if (!parseToken(token, header, error)) return false;
    if (header.width == 0 || header.height == 0) {
        error = "the header gives no picture size (W and H)";
        return false;
    }
    if (header.rateNum == 0) {
        error = "the header gives no frame rate (F)";
        return false;
    }
    return true;
}

Y4mClip::~Y4mClip() {
    if (file_) std::fclose(file_);
}

// Reads up to the next newline. tooLong is set when no newline came within kMaxY4mLine bytes.
bool Y4mClip::readLine(std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    for (;;) {
        const int c = std::fgetc(file_);
        if (c == EOF) return false;
        if (c == '\n') return true;
        if (line.size() >= kMaxY4mLine) {
            tooLong = true;
            return false;
        }
        line.push_back(static_cast<char>(c));
    }
}

bool Y4mClip::open(const std::string& path, std::string& error) {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    offsets_.clear();
    warning_.clear();
    path_ = path;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = "cannot open the clip " + path + ": " + std::strerror(errno);
        return false;
    }
    // A pipe or a device would block or never end; a clip is a file.
    if (!S_ISREG(info.st_mode)) {
        error = "cannot open the clip " + path + ": not a regular file";
        return false;
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        error = "cannot open the clip " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string line;
    bool tooLong = false;
    if (!readLine(line, tooLong)) {
        if (std::ferror(file_)) {
            error = "cannot read the clip " + path + ": " + std::strerror(errno);
            return false;
        }
        error = "clip " + path + ": " +
                (tooLong || line.rfind(kMagic, 0) != 0
                     ? std::string("not a YUV4MPEG2 clip (no valid header line)")
                     : std::string("the header is truncated"));
        return false;
    }
    std::string why;
    if (!parseY4mHeader(line, header_, why)) {
        error = "clip " + path + ": " + why;
        return false;
    }
    const long dataStart = std::ftell(file_);
    std::fseek(file_, 0, SEEK_END);
    const long fileSize = std::ftell(file_);
    indexFrames(dataStart, fileSize);
    if (offsets_.empty()) {
        error = "clip " + path + ": no complete frame" +
                (warning_.empty() ? "" : " (" + warning_ + ")");
        return false;
    }
    raw_.resize(header_.frameBytes());
    return true;
}

// Walks the frame headers without reading pixels; stops at the first damaged frame.
void Y4mClip::indexFrames(long dataStart, long fileSize) {
    const long bytes = static_cast<long>(header_.frameBytes());
    long pos = dataStart;
    std::string line;
    bool tooLong = false;
    while (pos < fileSize) {
        if (offsets_.size() >= static_cast<size_t>(kMaxY4mFrames)) {
            warning_ = "more than " + std::to_string(kMaxY4mFrames) + " frames";
            return;
        }
        std::fseek(file_, pos, SEEK_SET);
        const int number = static_cast<int>(offsets_.size()) + 1;
        if (!readLine(line, tooLong) || line.rfind("FRAME", 0) != 0) {
            warning_ = "frame " + std::to_string(number) + " has no valid FRAME header";
            return;
        }
        const long data = std::ftell(file_);
        if (fileSize - data < bytes) {
            warning_ = "frame " + std::to_string(number) + " is truncated (" +
                       std::to_string(fileSize - data) + " of " + std::to_string(bytes) + " bytes)";
            return;
        }
        offsets_.push_back(data);
        pos = data + bytes;
    }
}

int Y4mClip::frameIndexAt(double seconds) const {
    if (offsets_.empty() || !(seconds > 0.0)) return 0;
    const double frames = std::floor(seconds * header_.rateNum / header_.rateDen);
    return static_cast<int>(std::fmod(frames, static_cast<double>(offsets_.size())));
}

bool Y4mClip::readFrame(int index, RgbFrame& out, std::string& error) {
    if (index < 0 || index >= frameCount()) {
        error = "clip " + path_ + ": no frame " + std::to_string(index);
        return false;
    }
    if (std::fseek(file_, offsets_[index], SEEK_SET) != 0 ||
        std::fread(raw_.data(), 1, raw_.size(), file_) != raw_.size()) {
        error = "clip " + path_ + ": frame " + std::to_string(index + 1) + " can no longer be read";
        return false;
    }
    YuvPlanes planes;
    planes.width = header_.width;
    planes.height = header_.height;
    planes.halfChroma = header_.halfChroma;
    planes.fullRange = header_.fullRange;
    const size_t luma = static_cast<size_t>(header_.width) * header_.height;
    const size_t chroma = (raw_.size() - luma) / 2;
    planes.y = raw_.data();
    planes.u = planes.y + luma;
    planes.v = planes.u + chroma;
    if (out.fitWidth > 0 && out.fitHeight > 0 &&
        (out.fitWidth != planes.width || out.fitHeight != planes.height))
        convertYuvScaled(planes, out.fitWidth, out.fitHeight, out);
    else
        convertYuv(planes, out);
    return true;
}

}  // namespace camera
