#include "tools/roomclip/sources.h"

namespace roomclip {

namespace {

std::string& openCvFolder() {
    static std::string folder = "/usr/share/doc/opencv-doc";
    return folder;
}

std::string& skimageFolder() {
    static std::string folder = "/usr/lib/python3/dist-packages/skimage/data";
    return folder;
}

}  // namespace

std::string openCvDoc(const std::string& relative) { return openCvFolder() + "/" + relative; }
std::string skimageData(const std::string& name) { return skimageFolder() + "/" + name; }

void setPhotoFolders(const std::string& openCvDocFolder, const std::string& skimage) {
    if (!openCvDocFolder.empty()) openCvFolder() = openCvDocFolder;
    if (!skimage.empty()) skimageFolder() = skimage;
}

}  // namespace roomclip
