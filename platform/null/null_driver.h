// The null video driver, for the list of drivers in platform/drivers.cpp.
#pragma once

#include "platform/core/video.h"

namespace vorlaxis::platform {

VideoDriver& nullDriver();

}  // namespace vorlaxis::platform
