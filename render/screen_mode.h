#pragma once
// The fight window's two modes: the 800 x 600 window, or the whole screen at the desktop's
// size with the 4:3 scene in a centred viewport between black bars. A mode change may lose
// the OpenGL context, so it sets the renderer's fixed state again; textures are the caller's
// to load again (Moteur3d::reloadTextures and the move library's).

// Whether the renderer's start takes the whole screen (default: the window).
void startFullscreen(bool on);
bool fullscreenAtStart();
// Reads the desktop's size; must run before the first video mode is set.
void rememberDesktopSize();
// Sets the video mode and the fixed OpenGL state for it; false (with SDL's reason on
// stderr) when the mode cannot be set, leaving the previous mode where SDL kept it.
bool setScreenMode(bool fullscreen);
bool isFullscreen();
// The OpenGL state every mode starts with: the viewport, projection, lights and blending.
void setFixedGlState();
