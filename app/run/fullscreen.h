#pragma once
// Switching the fight window between the 800 x 600 window and the whole screen during play.
#include "match/World.h"

// Sets the other mode and loads every texture of the scene again (the HUD's, the Earth's and
// the lens flare's). When neither mode can be set the game is asked to end.
void toggleFullscreen(World& world);
