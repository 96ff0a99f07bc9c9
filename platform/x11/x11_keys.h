// The keys the game's windows understand, from X key symbols to Windows virtual keys.
#pragma once

#include <X11/X.h>

#include "platform/win32.h"

namespace vorlaxis::platform {

// The virtual key of an unshifted key symbol (letters as capitals), or 0 for keys the
// platform does not pass on.
WPARAM virtualKeyOf(KeySym sym);

}  // namespace vorlaxis::platform
