#pragma once
// What the menu shows of the camera's hand, drawn in the menu's window pixels (800 by 600,
// y down) over its plate: the guided calibration's prompt while the room recognition
// calibrates, and a ring that fills while a rock is held on the highlighted row.
class MenuFont;

namespace menu {

// The prompt at the top of the window and, while the palm is asked for, the steering player's
// mark where it lies in the mirrored picture; nothing once calibrated or without a camera.
void drawHandCalibration(const MenuFont& font);
// A ring centred at (x, y) whose arc fills clockwise from the top as `progress` goes 0 to 1;
// nothing at 0.
void drawHoldRing(float x, float y, double progress);

}  // namespace menu
