#include "app/camera/readings_line.h"

bool writeReadingsLine(std::FILE* to, int frame, const CWebCam& cam) {
    constexpr auto relaxed = std::memory_order_relaxed;
    return std::fprintf(to, "frame %d: %d %d %d %d %d %d %d %d\n", frame, cam.handIn1.load(relaxed),
                        cam.baryX1.load(relaxed), cam.baryY1.load(relaxed), cam.rps1.load(relaxed),
                        cam.handIn2.load(relaxed), cam.baryX2.load(relaxed),
                        cam.baryY2.load(relaxed), cam.rps2.load(relaxed)) > 0;
}
