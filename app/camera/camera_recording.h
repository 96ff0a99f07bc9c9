#pragma once
// --record-camera: every picture the worker reads, from the camera's first, as a 320 x 240
// YUV4MPEG2 clip at 30 frames a second (4:4:4, full range). The run then reads each picture
// as the clip gives it back, so that --print-readings on the clip reads what the run read.
// The header says how many frames each phase of the first calibration took
// (XVORLAXIS_CALIBRATION=STAND,PALM), filled in once it ends, so that --print-readings
// calibrates on the same frames. FILE.readings beside it holds the run's readings of every
// recorded frame, as --print-readings prints them.
#include <cstdio>
#include <string>
#include <vector>

#include "vision/WebCam.h"

class CameraRecording {
public:
    ~CameraRecording();
    // False, with the reason, when the file cannot be written.
    bool open(const std::string& path, std::string& error);
    // Appends slot 0's picture and puts the clip's own version of it back into the slot.
    void add(Image& frame);
    // The first calibration's frames per phase; later ones are not recorded as such.
    void calibrated(int standFrames, int palmFrames);
    // The readings the run took from the frame added last.
    void addReadings(const CWebCam& cam);
    // A calibration started again (F5): the readings after it are no longer what
    // --print-readings, which calibrates once, reads; a comment line in the readings says so.
    void calibratingAgain();
    void close();

private:
    void fail();

    std::FILE* file_ = nullptr;
    std::FILE* readings_ = nullptr;
    int frames_ = 0;
    std::string path_;
    long calibrationAt_ = 0;
    bool calibrationSet_ = false;
    std::vector<uint8_t> planes_;
};
