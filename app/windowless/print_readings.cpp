#include "app/windowless/print_readings.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/camera/readings_line.h"
#include "vision/WebCam.h"
#include "vision/room/RoomVision.h"

#ifndef _WIN32
#include "platform/capture/y4m.h"
#endif

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

void printLine(int frame, const CWebCam& cam) { writeReadingsLine(stdout, frame, cam); }

// The classic recognition, in the worker's order, on slot 0.
void readClassic(CWebCam& cam) {
    cam.CalBiCouleur(0);
    cam.calculBarycentre(0);
    cam.calculVariance(0);
    cam.discriminateRPS(0);
}

int fail(const std::string& why) {
    std::fprintf(stderr, "vorlaxis: %s\n", why.c_str());
    return 1;
}

#ifndef _WIN32

// The clip's frames at the recognition's size, one at a time into a frame slot.
class ClipFrames {
public:
    bool open(const std::string& path, std::string& error) {
        frame_.fitWidth = kFrameWidth;
        frame_.fitHeight = kFrameHeight;
        return clip_.open(path, error);
    }
    int count() const { return clip_.frameCount(); }
    // The frames of each calibration phase: as a recording of the game says, else a second of
    // the clip each.
    int phaseFrames(int phase) const {
        const int said = clip_.header().calibrationFrames[phase];
        return said > 0 ? said : perSecond();
    }
    // Whole frames in one second of the clip, at least one.
    int perSecond() const {
        const camera::Y4mHeader& h = clip_.header();
        const int frames = (h.rateNum + h.rateDen / 2) / h.rateDen;
        return frames > 0 ? frames : 1;
    }
    bool read(int index, Image& into, std::string& error) {
        if (!clip_.readFrame(index, frame_, error)) return false;
        for (int y = 0; y < kFrameHeight; ++y) {
            const uint8_t* rgb = frame_.rgb.data() + static_cast<size_t>(y) * kFrameWidth * 3;
            Pixel* row = into.pixels[y];
            for (int x = 0; x < kFrameWidth; ++x, rgb += 3) {
                row[x].r = rgb[0];
                row[x].g = rgb[1];
                row[x].b = rgb[2];
                row[x].couleur = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
            }
        }
        return true;
    }

private:
    camera::Y4mClip clip_;
    camera::RgbFrame frame_;
};

// Calibrates on the clip's first two seconds, a second for each phase by its own frame rate,
// or on the frames a recording of the game says its calibration took.
bool calibrate(ClipFrames& clip, Image& frame, vision::room::RoomVision& room, std::string& error) {
    const int stand = clip.phaseFrames(0), palm = clip.phaseFrames(1);
    if (clip.count() < stand + palm) {
        error = "the clip is shorter than the 2 seconds the room recognition calibrates on";
        return false;
    }
    for (int index = 0; index < stand + palm; ++index) {
        if (!clip.read(index, frame, error)) return false;
        if (index < stand)
            room.addReference(frame);
        else
            room.addPalm(frame);
    }
    std::string problem;
    if (!room.calibrate(problem)) {
        error = "calibration failed: " + problem;
        return false;
    }
    if (!problem.empty()) std::fprintf(stderr, "vorlaxis: %s\n", problem.c_str());
    return true;
}

#endif

}  // namespace

int printReadings(const Options& options) {
#ifdef _WIN32
    (void)options;
    (void)printLine;
    (void)readClassic;
    return fail("--print-readings needs the clip reader, which this build does not have");
#else
    ClipFrames clip;
    std::string error;
    if (!clip.open(options.camera, error)) return fail(error);
    CWebCam cam;
    const bool room = options.vision == VisionMode::ROOM;
    const auto recogniser = std::make_unique<vision::room::RoomVision>();
    if (room && !calibrate(clip, cam.images[0], *recogniser, error)) return fail(error);
    // The calibration's frames read as in the game: the start values, nothing read.
    const int first = room ? clip.phaseFrames(0) + clip.phaseFrames(1) : 0;
    for (int frame = 0; frame < first; ++frame) printLine(frame, cam);
    for (int frame = first; frame < clip.count(); ++frame) {
        if (!clip.read(frame, cam.images[0], error)) return fail(error);
        if (room)
            recogniser->read(cam.images[0], cam);
        else
            readClassic(cam);
        printLine(frame, cam);
    }
    return std::fflush(stdout) == 0 ? 0 : fail("the readings could not be written");
#endif
}
