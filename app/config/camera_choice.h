// Which camera this run uses, settled once before the game leaves the folder it was started
// in: the capture driver reads the device or clip from the environment, so a relative path has
// to be made absolute first, and a driver number must not be overridden by a stale variable.
#pragma once

#include <string>

struct CameraChoice {
    // The capture driver to connect: the --camera number, else 0.
    int driver = 0;
    // "--camera", "VORLAXIS_CAMERA", or empty when neither names a camera.
    std::string from;
};

// The variable that tells the capture driver where its device or clip came from, so that its
// errors name the setting the player has to correct.
constexpr const char* kCameraOriginVariable = "VORLAXIS_CAMERA_FROM";

// Reads `option` (the --camera value, empty when not given) and VORLAXIS_CAMERA, and rewrites
// the environment once: VORLAXIS_CAMERA holds the absolute device or clip path, or is unset
// for a driver number; VORLAXIS_CAMERA_FROM names its origin.
CameraChoice chooseCamera(const std::string& option);

// A camera named by a relative path is meant from the folder the player started in; driver
// numbers and absolute paths stay as they are.
std::string cameraFromStartFolder(const std::string& camera);
