// assetgen DIR: writes the game's 39 data files into DIR (which must exist).
// assetgen --icons DIR: writes the desktop icons under DIR (made as needed).
#include "tools/assetgen/assetgen.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons")
        return assetgen::writeIcons(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen OUTPUT_DIR | assetgen --icons ICON_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = assetgen::writeKeyframes(dir);
    ok = assetgen::writePictures(dir) && ok;
    ok = assetgen::writeAudio(dir) && ok;
    ok = assetgen::writeFontAtlas(dir) && ok;
    return ok ? 0 : 1;
}
