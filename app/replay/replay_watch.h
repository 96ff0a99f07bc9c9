#pragma once
// Watching a recorded run (--replay) in the windows: its records in place of the players'
// input, at the recorded pace, with the music and sounds, pausing on P or Space.
#include "app/config/options.h"
#include "match/World.h"

// Opens the replay to watch and sets the run up as it was recorded (its endless setting,
// turn rate; no camera is opened). False after saying what is wrong with it. Needs the data
// folder; call before the windows open.
bool startWatching(Options& options);
bool watching();
// Sets the world up as the recorded run started; call after World::init.
void startWatchedRun(World& world);
// Puts this turn's record from the replay into the world's input slots; false while the
// replay is paused (no turn is played then). At the end of the replay it asks the game to end.
bool takeReplayInput(World& world);
// P and Space pause and resume; each says so on standard output with the turn.
void toggleReplayPause();
// The replay file's name and what the panel says of it ("playing", "paused", "ended").
const char* watchedName();
const char* watchState();
// 0, or 1 when the replay turned out damaged while it was watched.
int watchExitCode();
