#pragma once
// The sun and its flare: four textured quads added onto the frame (black adds nothing).

extern unsigned int textureId1;  // "sun.bmp"
extern unsigned int textureId2;  // "croix.bmp"
extern unsigned int textureId3;  // "halo.bmp"

void initLensFlare();
// Draws the flare turned by `angle` degrees about the tilted y axis; leaves the matrix as
// found, blending at source alpha / one minus source alpha and texturing off.
void drawLensFlare(float angle);
