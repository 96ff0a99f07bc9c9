// The contract between the core and a video driver: what the core asks of the display.
#pragma once

#include "platform/win32.h"

#include <string>

namespace vorlaxis::platform {

class VideoDriver {
public:
    virtual ~VideoDriver() = default;
    virtual const char* name() const = 0;
    // Connects to the display once; later calls only report whether that worked. On failure
    // sets *why (when not null) to a sentence naming the display and the problem.
    virtual bool open(std::string* why) = 0;
    // Main thread only, from every PeekMessageA: brings the display in line with the windows,
    // turns the display's events into posted messages and presents changed canvases.
    virtual void pump() = 0;
    // Main thread only: windows were created, shown, hidden or destroyed.
    virtual void sync() = 0;
    // Any thread: the window that should have the keyboard (applied on the main thread).
    virtual void focus(HWND hWnd) = 0;
};

// The driver called `name` (aliases included), or null; the list of drivers a build has is
// kept apart from the core, in platform/drivers.cpp.
VideoDriver* findVideoDriver(const std::string& name);

// The driver in use, chosen on first use (see useVideoDriver in platform/driver.h).
VideoDriver& videoDriver();

}  // namespace vorlaxis::platform
