#include "app/config/gamepad_list.h"

#include <SDL/SDL.h>

int listGamepads(std::FILE* out) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0) {
        std::fprintf(stderr, "vorlaxis: cannot look for gamepads: %s\n", SDL_GetError());
        return 1;
    }
    const int count = SDL_NumJoysticks();
    if (count == 0) std::fprintf(out, "no gamepad found\n");
    for (int index = 0; index < count; ++index) {
        const char* name = SDL_JoystickName(index);
        // A pad that cannot be opened is still listed: its number is what the settings take.
        SDL_Joystick* pad = SDL_JoystickOpen(index);
        std::fprintf(out, "%d: %s (%d axes, %d buttons)\n", index, name ? name : "?",
                     pad ? SDL_JoystickNumAxes(pad) : 0, pad ? SDL_JoystickNumButtons(pad) : 0);
        if (pad) SDL_JoystickClose(pad);
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    return 0;
}
