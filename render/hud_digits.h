#pragma once
// Whole numbers on the HUD as seven-segment digits: plain quads, no texture or font needed.

// Draws `value` (negative values as 0) with the lower left corner of its first digit at
// (x, y) in HUD units, each digit `height` tall, in the current colour. Needs the HUD frame
// (after the camera's matrix is popped) with lighting and texturing off.
void drawHudNumber(int value, float x, float y, float height);
