// Where the photographs come from: the Debian packages opencv-doc and python3-skimage.
#pragma once

#include <string>

namespace roomclip {

// A file of opencv-doc, below /usr/share/doc/opencv-doc/.
std::string openCvDoc(const std::string& relative);
// A file of python3-skimage's data folder.
std::string skimageData(const std::string& name);

// The folders, changed by the command line for photos kept elsewhere.
void setPhotoFolders(const std::string& openCvDocFolder, const std::string& skimageFolder);

}  // namespace roomclip
