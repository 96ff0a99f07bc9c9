#pragma once
// Background music and the two close-attack effects, all through SDL_mixer 1.2.
// Every call comes from the main thread, after SDL itself has been initialised.
#include <SDL/SDL_mixer.h>

#include "sound/effects.h"

// Owned here for the whole run; the sounds are null when their WAV file could not be loaded.
extern Mix_Music* music;   // "music.ogg"
extern Mix_Chunk* sound1;  // "explosion.wav"
extern Mix_Chunk* sound2;  // "sound.wav"

// With the sound off nothing opens the audio device and every call below does nothing, so the
// game runs on a machine without one. Set before initSon.
void setSoundOff(bool off);

// The volume of the music and the effects, from 0 (silent) to MIX_MAX_VOLUME (full, the
// default); values beyond are held to that range. Set before initSon, or at any time after.
void setSoundVolume(int volume);

// Opens the audio device and loads the three files from the working directory. Ends the
// process with exit code 1 when there is no audio device (saying that --mute plays without
// one) or no music. The device is closed, and its thread joined, when the process exits.
void initSon();

// Starts the music looping for ever and registers musicFinished. Ends the process with exit
// code 1 when the music cannot start.
void playBackgroundMusic();

// The mixer's music-finished hook. It runs on the audio thread, where the mixer may not be
// called, so it only marks the music as finished; the next sound call (or pumpSon) stops and
// releases it on the main thread.
void musicFinished();

// The music at a quarter of the set volume (a paused match) or at the set volume again.
void setMusicQuiet(bool quiet);

// Carries out a stop and release that musicFinished asked for. Safe to call every turn.
void pumpSon();
