// The names SDL 1.2 gives keys ("a", "left shift", "[0]", "page up"), both ways. SDL has no
// name-to-key lookup, and its own SDL_GetKeyName only answers once a video driver is up: too
// late for a settings file read before any window opens, or written on a machine without one.
#pragma once

#include <SDL/SDL_keysym.h>

#include <string>

// The key SDL calls `name`, letters in either case; SDLK_UNKNOWN for a name SDL never gives.
SDLKey keyByName(const std::string& name);

// SDL's name for `key`; empty for a key SDL does not name.
std::string keyName(SDLKey key);
