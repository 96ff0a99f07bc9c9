#include "app/camera/camera_recording.h"

#include <cerrno>
#include <cstring>

#include "app/camera/readings_line.h"

#ifndef _WIN32
#include "platform/capture/camera_frame.h"
#endif

namespace {

constexpr size_t kPlane = static_cast<size_t>(vision::kFramePixels);
// Room for the largest count of frames the header accepts, filled in when the calibration ends.
constexpr const char* kCalibrationBlank = "XVORLAXIS_CALIBRATION=0000000,0000000";
constexpr const char* kCalibrationFormat = "XVORLAXIS_CALIBRATION=%07d,%07d";

uint8_t clampByte(double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); }

// Full-range BT.601, the clip reader's own conversion the other way.
void rgbToYuv(const Pixel& p, uint8_t& y, uint8_t& u, uint8_t& v) {
    y = clampByte(0.299 * p.r + 0.587 * p.g + 0.114 * p.b);
    u = clampByte(128 - 0.168736 * p.r - 0.331264 * p.g + 0.5 * p.b);
    v = clampByte(128 + 0.5 * p.r - 0.418688 * p.g - 0.081312 * p.b);
}

// The picture as the clip reader gives it back, so that the run reads what --print-readings
// will. Windows builds have no clip reader, and record nothing.
void readBack(const uint8_t yuv[3], Pixel& p) {
#ifdef _WIN32
    (void)yuv;
    (void)p;
#else
    uint8_t rgb[3];
    camera::yuvToRgb(yuv[0], yuv[1], yuv[2], true, rgb);
    p.r = rgb[0];
    p.g = rgb[1];
    p.b = rgb[2];
    p.couleur = p.r | p.g << 8 | p.b << 16;
#endif
}

}  // namespace

CameraRecording::~CameraRecording() { close(); }

bool CameraRecording::open(const std::string& path, std::string& error) {
#ifdef _WIN32
    error = "--record-camera needs the clip reader, which this build does not have";
    (void)path;
    return false;
#endif
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) {
        error = "cannot write the camera recording " + path + ": " + std::strerror(errno);
        return false;
    }
    path_ = path;
    readings_ = std::fopen((path + ".readings").c_str(), "w");
    if (!readings_) {
        error = "cannot write " + path + ".readings: " + std::strerror(errno);
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    std::fprintf(file_, "YUV4MPEG2 W%d H%d F30:1 Ip A1:1 C444 XCOLORRANGE=FULL ",
                 vision::kFrameWidth, vision::kFrameHeight);
    calibrationAt_ = std::ftell(file_);
    std::fprintf(file_, "%s\n", kCalibrationBlank);
    planes_.resize(kPlane * 3);
    return true;
}

void CameraRecording::add(Image& frame) {
    if (!file_) return;
    size_t i = 0;
    for (int row = 0; row < vision::kFrameHeight; ++row)
        for (int col = 0; col < vision::kFrameWidth; ++col, ++i) {
            Pixel& p = frame.pixels[row][col];
            uint8_t yuv[3];
            rgbToYuv(p, yuv[0], yuv[1], yuv[2]);
            planes_[i] = yuv[0];
            planes_[kPlane + i] = yuv[1];
            planes_[2 * kPlane + i] = yuv[2];
            readBack(yuv, p);
        }
    ++frames_;
    if (std::fputs("FRAME\n", file_) < 0 ||
        std::fwrite(planes_.data(), 1, planes_.size(), file_) != planes_.size())
        fail();
}

void CameraRecording::addReadings(const CWebCam& cam) {
    if (readings_) writeReadingsLine(readings_, frames_ - 1, cam);
}

void CameraRecording::calibratingAgain() {
    if (readings_) std::fprintf(readings_, "# calibrating again from frame %d\n", frames_);
}

void CameraRecording::calibrated(int standFrames, int palmFrames) {
    if (!file_ || calibrationSet_) return;
    calibrationSet_ = true;
    const long end = std::ftell(file_);
    std::fseek(file_, calibrationAt_, SEEK_SET);
    std::fprintf(file_, kCalibrationFormat, standFrames, palmFrames);
    std::fseek(file_, end, SEEK_SET);
}

void CameraRecording::fail() {
    std::fprintf(stderr, "vorlaxis: the camera recording %s stopped: %s\n", path_.c_str(),
                 std::strerror(errno));
    std::fclose(file_);
    file_ = nullptr;
}

void CameraRecording::close() {
    if (readings_) std::fclose(readings_);
    readings_ = nullptr;
    if (!file_) return;
    if (std::fclose(file_) != 0)
        std::fprintf(stderr, "vorlaxis: the camera recording %s could not be finished: %s\n",
                     path_.c_str(), std::strerror(errno));
    file_ = nullptr;
}
