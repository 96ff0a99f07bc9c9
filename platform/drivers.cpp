// The video drivers this build has, and the names they answer to. The core looks them up
// here, so that it never names a driver itself.
#include "platform/null/null_driver.h"
#include "platform/x11/x11_driver.h"

namespace vorlaxis::platform {

VideoDriver* findVideoDriver(const std::string& name) {
    if (name == "x11") return &x11Driver();
    // "headless" is the null driver's former name, still accepted in the environment.
    if (name == "null" || name == "headless") return &nullDriver();
    return nullptr;
}

}  // namespace vorlaxis::platform
