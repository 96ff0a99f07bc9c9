// The control panel window.
#pragma once

#include "platform/win32.h"

// The control panel, shown and focused; null when it cannot be created.
HWND CreationFenetre(HINSTANCE hInstance);
