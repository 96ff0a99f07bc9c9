#include "app/run/fullscreen.h"

#include <cstdio>

#include "play/quit.h"
#include "render/backgrnd.h"
#include "render/screen_mode.h"

void toggleFullscreen(World& world) {
    const bool wanted = !isFullscreen();
    if (!setScreenMode(wanted) && !setScreenMode(!wanted)) {
        std::fprintf(stderr, "The fight window is lost: the game ends\n");
        play::requestQuit();
        return;
    }
    world.moves.reloadTextures();
    reloadBackgroundTextures();
}
