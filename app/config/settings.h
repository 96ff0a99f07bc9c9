// The player's own settings: keys, gamepad buttons, fullscreen, sound and its volume, the turn
// rate, the recognition and the last address joined, read from plain `name = value` lines. The
// command line wins over them.
#pragma once

#include <SDL/SDL_keysym.h>

#include <string>
#include <vector>

struct PlayerKeys {
    SDLKey left, right, rock, paper, scissors;
};

// Which recognition reads the camera: the classic one (the hand brighter than the picture's
// mean, for a dark backdrop) or the room one (calibrated on the players, for a lit room).
enum class VisionMode { CLASSIC, ROOM };

// "classic" or "room".
const char* visionModeName(VisionMode mode);
// Reads "classic" or "room"; false for anything else, leaving `mode` as it was.
bool parseVisionMode(const std::string& text, VisionMode& mode);

// SDL_mixer's full volume.
constexpr int kMostVolume = 128;

struct Settings {
    PlayerKeys keys[2] = {{SDLK_a, SDLK_d, SDLK_z, SDLK_x, SDLK_c},
                          {SDLK_LEFT, SDLK_RIGHT, SDLK_b, SDLK_n, SDLK_m}};
    // Each player's gamepad, by SDL's joystick index.
    int gamepad[2] = {0, 1};
    // The buttons and the walking axis are the same on both players' gamepads.
    int rockButton = 0, paperButton = 1, scissorsButton = 2, pauseButton = 7;
    int walkAxis = 0;
    // Stick positions nearer the middle than this (of 32767) do not walk.
    int deadZone = 8000;
    bool fullscreen = false;
    bool mute = false;
    // The sound's volume, from 0 (silent) to kMostVolume (full).
    int volume = kMostVolume;
    // Turns a second; 0 runs them as fast as the machine draws.
    int turnRate = 60;
    VisionMode vision = VisionMode::CLASSIC;
    // The address last typed on the Join screen, as it was typed; empty until one is.
    std::string join;
};

// Where the settings live: $XDG_CONFIG_HOME/vorlaxis/vorlaxis.conf, else
// ~/.config/vorlaxis/vorlaxis.conf (%APPDATA%\Vorlaxis\vorlaxis.conf on Windows). Empty when
// the environment names no such folder.
std::string settingsPath();

// The settings in `path`; a missing file gives the defaults. Each wrong line leaves its setting
// at the default and adds one message ("vorlaxis.conf:3: ...") to `errors`, as does a file that
// exists but cannot be read.
Settings readSettings(const std::string& path, std::vector<std::string>& errors);

// The defaults, each with a comment, as a file readSettings reads back to the defaults.
std::string defaultSettingsText();

// Writes defaultSettingsText() to `path`, making its folder. An existing file is kept unless
// `overwrite`. False with `error` set when nothing was written.
bool writeDefaultSettings(const std::string& path, bool overwrite, std::string& error);
