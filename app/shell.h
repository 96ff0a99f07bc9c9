#pragma once
// The steps of start-up and of a run in the windows (app/main.cpp), shared by the designed
// start, which plays one run, and the menu, which opens the windows once and plays one run
// after another in them.
#include <SDL/SDL.h>

#include "app/config/options.h"
#include "platform/win32.h"

class Run;

// Whether there is a screen to show the windows on.
bool screenAvailable();
// Says that the control panel could not be made; returns 1.
int panelFailure();

// Once per process: the sound as the options say, the screen mode, and the fight window with
// the match's data (World::init).
void openFightWindow(const Options& options);
// The control panel, its device context handed to the camera; false when it cannot be made.
bool openPanel(HINSTANCE hInstance);
// Only once the worker is joined (or was never started): it draws into the panel.
void closePanel();

// A run's parts that need no window: its sources and the replay it watches; false after
// saying why not.
bool prepareRun(Run& run);
// Its recording and the referee's endless matches; false after saying why not.
bool recordRun(Run& run);
// In the open fight window: who plays, the pads, the network and what the panel shows; false
// after saying why not.
bool beginRun(Run& run);
// In the open windows: the camera when the run reads it, the worker, the loop until the run
// ends; the run's exit code. The worker is joined on return; the windows stay open.
int playInWindows(Run& run);

// Connects the camera the first time (it stays connected) and starts its preview and the
// worker's recognition as `options` say; false after saying why not.
bool connectCamera(const Options& options, int driver);
// The webcam worker, started afresh (null after saying why not) and stopped and joined.
SDL_Thread* startWorker();
void stopWorker(SDL_Thread* thread);
