// The shell: start-up, the main loop, the webcam worker thread and the control panel's text.
// Its globals are the game's long-standing six; everything else a run holds is its Run, handed
// to main2 and the loop, and the worker reads the match from the published panel feed
// (app/panel/panel_feed.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "match/World.h"
#include "platform/win32.h"
#include "vision/WebCam.h"

extern HINSTANCE g_hInstance;
extern HWND g_hWnd;
extern HDC g_hDC;
extern CWebCam WebCam;
extern World world;
// -1 asks the worker thread to stop; read at the top of each of its passes.
extern std::atomic<int32_t> thread_signal;

class Run;

// The body of the game, with the run it plays: the control panel, the camera, the worker
// thread and the main loop.
int main2(Run& run, HINSTANCE hInstance, HINSTANCE hPrevInstance, char* lpCmdLine, int nCmdShow);
LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// The message pump and game loop of main2, until the quit message; `turn` is one game turn.
void runMainLoop(const std::function<void()>& turn);

int thread_webcam(void* unused);

// The worker's font (Impact 18), green text on a transparent background and black brush,
// selected into g_hDC; the worker deletes both when it ends.
struct PanelTools {
    HFONT font;
    HBRUSH brush;
};
PanelTools preparePanelDC();

// The panel of a run with a camera (app/camera_panel.cpp).
void displayResultsWebcam();
void displayValuePosition(int player, int x, int y);
void displayInterpPosition(int player, int x, int y);
void displayLife(int player, int x, int y);
void displayCirclePosition(int player, int left, int top);
void displayVariance(int player, int x, int y);
void displayRPS(int player, int x, int y);
void displayWins(int player, int x, int y);
// "computer LEVEL" on the row of a side the computer plays; nothing for a person's side.
void displaySide(int player, int x, int y);

// The panel of a keyboard-only run (app/keyboard_panel.cpp).
void displayResultsKeyboard();
void displayKeyTables();
void displayReplayNotice();
void displayLastSign(int player, int x, int y);

// The panel's network line along its bottom edge, in a network run (app/network_panel.cpp).
void displayNetwork();
