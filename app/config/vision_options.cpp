#include "app/config/vision_options.h"

#include <cstring>

#include "app/config/option_values.h"

bool readVisionOption(int argc, const char* const* argv, int& i, Options& options,
                      std::string& why) {
    const char* value = nullptr;
    if (std::strcmp(argv[i], "--print-readings") == 0) {
        options.printReadings = true;
        return true;
    }
    if (matches(argv[i], "--record-camera", &value)) {
        value = valueOf(value, argc, argv, i);
        if (!value || !*value)
            why = "option '--record-camera' needs a file name";
        else
            options.recordCamera = value;
        return true;
    }
    if (!matches(argv[i], "--vision", &value)) return false;
    value = valueOf(value, argc, argv, i);
    if (!value || !parseVisionMode(value, options.vision))
        why = "option '--vision' needs classic or room";
    options.visionGiven = true;
    return true;
}

std::string printReadingsConflict(const Options& options, const NamedOptions& named) {
    if (!options.printReadings) return "";
    if (options.camera.empty()) return "option '--print-readings' needs '--camera CLIP'";
    if (options.simulate || !options.replay.empty() || options.net != Options::Net::NONE ||
        named.player1 || named.player2)
        return "option '--print-readings' plays no match: it excludes '--simulate', "
               "'--replay', '--host', '--join' and the players' sources";
    return "";
}

std::string recordCameraConflict(const Options& options) {
    if (options.recordCamera.empty()) return "";
    if (options.printReadings || options.simulate || !options.replay.empty() || options.keyboard)
        return "option '--record-camera' needs a run on the camera: it excludes "
               "'--print-readings', '--simulate', '--replay' and '--keyboard'";
    return "";
}
