#pragma once
// What the fight window tells the players on the camera in the room recognition: each phase of
// the calibration with its countdown and, while palms are asked for, each player's mark where
// it lies in the mirrored picture; in play, a half that has seen no hand for two seconds.
// Reads the panel feed the worker publishes.

// Call after the HUD of the turn is drawn.
void drawCameraHud();

// The outline of a square of half side `half` about (x, y), in the current projection: a
// player's calibration mark.
void drawBox(float x, float y, float half);
