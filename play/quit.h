#pragma once
// A request to end the game (Escape, a close request in either window), answered by the main
// loop's own shut-down so that the worker finishes its pass over the panel first.

namespace play {

// Posts the quit message and keeps the request: on Windows SDL's event pump takes WM_QUIT
// off the queue and drops it.
void requestQuit();
// A quit that ends the whole game, not only this run: a window closed, Escape in the control
// panel. A run started from the menu goes back to it on any other quit.
void requestLeave();
// Whether requestLeave was called in this process. Main thread only.
bool leaveRequested();
// Whether a quit was asked since the last call; clears the request. Main thread only.
bool takeQuitRequest();

}  // namespace play
