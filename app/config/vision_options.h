#pragma once
// The options of the camera's recognition: --vision classic|room picks how the hands are read,
// --print-readings reads a clip and prints what the recognition sees, frame by frame,
// --record-camera keeps what the camera saw during a run as such a clip.
#include <string>

#include "app/config/options.h"
#include "app/config/play_options.h"

// Reads argv[i] when it is one of these options, with its value (i then points at the last
// argument taken). False when it is none of them; when its value is wrong, `why` says so.
bool readVisionOption(int argc, const char* const* argv, int& i, Options& options,
                      std::string& why);

// What --print-readings cannot go with (it needs --camera with a clip and plays no match);
// empty when nothing.
std::string printReadingsConflict(const Options& options, const NamedOptions& named);

// What --record-camera cannot go with (a run that opens no camera); empty when nothing.
std::string recordCameraConflict(const Options& options);
