// The Windows codes of failed socket calls, and their texts.
#pragma once

#include "platform/win32.h"

#include <string>

namespace vorlaxis::platform {

// The code WSAGetLastError gives for errno `error`: Windows' own where it has one, else one of
// ours (customer bit set) that still carries the errno.
int socketErrorFromErrno(int error);

// The text of a code socketErrorFromErrno gives, ending as the system's texts do; false for
// any other code.
bool socketErrorText(DWORD code, std::string* text);

}  // namespace vorlaxis::platform
