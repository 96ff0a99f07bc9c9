#pragma once
// Frames the fight: follows the midpoint between the fighters and backs away as they part.

class Camera {
public:
    Camera();
    ~Camera();

    // From the fighters' logical x positions (fighter 1, fighter 2).
    void updateCamera(float x1, float x2);
    // Multiplies the freshly reset model-view by the view and leaves one matrix of its own
    // pushed, which the caller pops before drawing screen-fixed items. A camera never
    // updated is placed as for the starting positions (-5 and 5).
    void placeCamera();

    float distance;  // how far the world is pushed back along -z
    float centre;    // x of the midpoint between the fighters
};
