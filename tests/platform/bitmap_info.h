// The header of a 32-bit uncompressed DIB, the only kind the game uses; for tests and for the
// drawing program that is also built against the real Win32 headers.
#pragma once

#include "platform/win32.h"

namespace testing_platform {

// `height` > 0: rows bottom-up; < 0: top-down.
inline BITMAPINFO describe32(int width, int height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

}  // namespace testing_platform
