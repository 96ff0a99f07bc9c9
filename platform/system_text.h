#pragma once
// The system's words for an error code, as FormatMessageA gives them, without the line end.
#include <string>

#include "platform/win32.h"

namespace vorlaxis::platform {

// Empty when the system has no text for `code`.
inline std::string systemText(DWORD code) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 &&
           (text[length - 1] == ' ' || text[length - 1] == '\r' || text[length - 1] == '\n'))
        --length;
    return std::string(text, length);
}

}  // namespace vorlaxis::platform
