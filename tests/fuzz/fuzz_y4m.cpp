// A clip file as the camera: the header, the frame index and the decoding of frames, at their
// own size and scaled to the preview window.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/capture/y4m.h"
#include "tests/fuzz/fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzfiles::write("clip.y4m", data, size);
    camera::Y4mClip clip;
    std::string error;
    if (!clip.open(path, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    const camera::Y4mHeader& h = clip.header();
    for (double seconds : {0.0, 0.05, 0.35, 1.0, 7.5, 1e9}) {
        const int index = clip.frameIndexAt(seconds);
        if (index < 0 || index >= clip.frameCount()) std::abort();
        camera::RgbFrame frame;
        if (seconds > 1.0) {  // a small window: the same code as 320 x 240, sooner
            frame.fitWidth = 7;
            frame.fitHeight = 5;
        }
        if (!clip.readFrame(index, frame, error)) std::abort();  // the file did not change
        const int width = frame.fitWidth ? frame.fitWidth : h.width;
        const int height = frame.fitHeight ? frame.fitHeight : h.height;
        if (frame.width != width || frame.height != height ||
            frame.rgb.size() != size_t(width) * height * 3)
            std::abort();
    }
    return 0;
}
