// The menu's font: DejaVu Sans Bold baked into a grey atlas picture and a text file of where
// each glyph lies in it, so that the game draws text as textured quads with no font library.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/picture_canvas.h"

namespace assetgen {

namespace {

constexpr int kAtlasSize = 512;
constexpr float kPixelHeight = 40.0f;

}  // namespace

bool writeFontAtlas(const std::string& dir) {
    std::vector<unsigned char> grey;
    std::string metrics = "vorlaxis-font 1\nsize " + std::to_string(kAtlasSize) + " " +
                          std::to_string(static_cast<int>(kPixelHeight)) + "\n";
    if (!Lettering().bake(kPixelHeight, kAtlasSize, grey, metrics)) {
        std::fprintf(stderr, "assetgen: cannot bake the font atlas\n");
        return false;
    }
    std::vector<unsigned char> rgb;
    rgb.reserve(grey.size() * 3);
    for (unsigned char g : grey) rgb.insert(rgb.end(), {g, g, g});
    const std::string picture = dir + "/menufont.bmp";
    const std::string table = dir + "/menufont.txt";
    std::ofstream out(table);
    out << metrics;
    if (!writeBmp(picture, kAtlasSize, kAtlasSize, rgb.data()) || !out.flush()) {
        std::fprintf(stderr, "assetgen: cannot write %s or %s\n", picture.c_str(), table.c_str());
        return false;
    }
    return true;
}

}  // namespace assetgen
