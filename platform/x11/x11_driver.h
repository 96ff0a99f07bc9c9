// The X11 video driver, for the list of drivers in platform/drivers.cpp.
#pragma once

#include "platform/core/video.h"

namespace vorlaxis::platform {

VideoDriver& x11Driver();

}  // namespace vorlaxis::platform
