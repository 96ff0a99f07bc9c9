// The calling thread's last error and the texts FormatMessageA gives for the codes this layer
// sets.
#include "platform/core/layer.h"
#include "platform/core/winsock.h"

#include <cstring>

namespace vorlaxis::platform {

namespace {

thread_local DWORD lastError = 0;

std::mutex reasonMutex;
std::string displayReason = "the display cannot be opened";

// Windows' own wording for the system codes, ending as the system's texts do.
const char* systemText(DWORD code) {
    switch (code) {
    case ERROR_NOT_ENOUGH_MEMORY:
        return "Not enough memory resources are available to process this command.\r\n";
    case ERROR_INVALID_WINDOW_HANDLE: return "Invalid window handle.\r\n";
    case ERROR_CANNOT_FIND_WND_CLASS: return "Cannot find window class.\r\n";
    case WSAVERNOTSUPPORTED: return "The Windows Sockets version requested is not supported.\r\n";
    default: return nullptr;
    }
}

bool textOf(DWORD code, std::string* text) {
    if (code == kErrorNoDisplay) {
        std::lock_guard<std::mutex> guard(reasonMutex);
        *text = displayReason;
        return true;
    }
    const char* known = systemText(code);
    if (known) *text = known;
    return known != nullptr || socketErrorText(code, text);
}

}  // namespace

bool requireDisplay() {
    std::string why;
    if (openVideo(&why)) return true;
    {
        std::lock_guard<std::mutex> guard(reasonMutex);
        displayReason = why;
    }
    SetLastError(kErrorNoDisplay);
    return false;
}

}  // namespace vorlaxis::platform

using namespace vorlaxis::platform;

DWORD WINAPI GetLastError(void) { return lastError; }

void WINAPI SetLastError(DWORD code) { lastError = code; }

DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                            va_list*) {
    std::string text;
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !textOf(messageId, &text)) {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    if (!buffer || text.size() >= size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}
