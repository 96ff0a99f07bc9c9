// What the drawing program and the test that compares its two outputs both need to know.
#pragma once

#include "platform/win32.h"

namespace gdi_scene {

// Text on the panel's black boxes in the panel's green, and opaque text in a second pair of
// colours on a white surface.
const COLORREF kPanelGreen = RGB(22, 199, 35);
const COLORREF kInk = RGB(200, 30, 40);
const COLORREF kPaper = RGB(40, 60, 220);

// Record name prefixes of the text pictures, followed by the line's index.
constexpr const char* kTransparentText = "text-transparent-";
constexpr const char* kOpaqueText = "text-opaque-";

}  // namespace gdi_scene
