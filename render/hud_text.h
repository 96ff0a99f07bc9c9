#pragma once
// A line of text on the HUD in a 5 x 7 dot-matrix font: plain quads, no texture or font file.
#include <string>

// Draws `text` with the lower left corner of its first character at (x, y) in HUD units, each
// character `height` tall, in the current colour. Letters come out as capitals; any byte the
// font lacks (including each byte of a multi-byte character) is drawn as '?'. Needs the HUD
// frame (after the camera's matrix is popped) with lighting and texturing off.
void drawHudText(const std::string& text, float x, float y, float height);

// The width, in HUD units, that drawHudText gives `text` at that height: from the left edge of
// the first character to the right edge of the last, without a trailing gap.
float hudTextWidth(const std::string& text, float height);
