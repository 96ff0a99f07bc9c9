#include "app/config/camera_choice.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/config/options.h"
#include "platform/win32.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kCameraVariable = "VORLAXIS_CAMERA";

bool isDeviceNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

void setCamera(const char* path, const char* from) {
    SetEnvironmentVariableA(kCameraVariable, path);
    SetEnvironmentVariableA(kCameraOriginVariable, from);
}

}  // namespace

std::string cameraFromStartFolder(const std::string& camera) {
    const fs::path path(camera);
    if (camera.empty() || isDeviceNumber(camera) || path.is_absolute()) return camera;
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? camera : absolute.lexically_normal().string();
}

CameraChoice chooseCamera(const std::string& option) {
    CameraChoice choice;
    if (!option.empty()) {
        const int driver = cameraDriverNumber(option);
        choice.from = "--camera";
        if (driver >= 0) {
            choice.driver = driver;
            setCamera(nullptr, nullptr);
        } else {
            setCamera(cameraFromStartFolder(option).c_str(), choice.from.c_str());
        }
        return choice;
    }
    const char* setting = std::getenv(kCameraVariable);
    if (!setting || !*setting) {
        setCamera(nullptr, nullptr);
        return choice;
    }
    choice.from = kCameraVariable;
    setCamera(cameraFromStartFolder(setting).c_str(), kCameraVariable);
    return choice;
}
