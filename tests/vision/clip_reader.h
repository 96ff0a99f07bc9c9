// A clip file's frames read into the camera's frame store, as the game's clip camera would
// deliver them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/capture/y4m.h"
#include "vision/WebCam.h"

namespace testclip {

class ClipReader {
public:
    bool open(const std::string& path) {
        std::string error;
        frame_.fitWidth = kFrameWidth;
        frame_.fitHeight = kFrameHeight;
        return clip_.open(path, error);
    }
    int count() const { return clip_.frameCount(); }
    int perSecond() const { return clip_.header().rateNum / clip_.header().rateDen; }
    void read(int index, Image& into) {
        std::string error;
        ASSERT_TRUE(clip_.readFrame(index, frame_, error)) << error;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                const uint8_t* rgb = &frame_.rgb[(static_cast<size_t>(y) * kFrameWidth + x) * 3];
                Pixel& p = into.pixels[y][x];
                p.r = rgb[0];
                p.g = rgb[1];
                p.b = rgb[2];
                p.couleur = p.r | p.g << 8 | p.b << 16;
            }
    }

private:
    camera::Y4mClip clip_;
    camera::RgbFrame frame_;
};

}  // namespace testclip
