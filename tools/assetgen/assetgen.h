#pragma once
// The data generator writes every file the game reads into one folder. Each part owns a
// group of files; all output is deterministic (no clock, no unseeded randomness).
#include <string>

namespace assetgen {

// Each returns false after printing a message naming the file that could not be written.
bool writeKeyframes(const std::string& dir);  // the 18 keyframe text files
bool writePictures(const std::string& dir);   // the 18 BMP images
bool writeAudio(const std::string& dir);      // music.ogg, explosion.wav, sound.wav
bool writeFontAtlas(const std::string& dir);  // menufont.bmp and menufont.txt
// The desktop icon, not game data: SIZExSIZE/apps/vorlaxis.png under `dir` (48, 128, 256).
bool writeIcons(const std::string& dir);

}  // namespace assetgen
