#include "match/World.h"

void World::setInputs() { clearInput(); }

// The hands' heights (baryY1, baryY2) do not steer the fighters.
void World::handleWebcamEvents(int baryX1, int baryY1, int baryX2, int baryY2, int rps1, int rps2) {
    setInputs();
    if (!cameraCounts(state())) return;
    takeRecord(cameraInput({baryX1, baryY1, baryX2, baryY2, rps1, rps2}));
}
