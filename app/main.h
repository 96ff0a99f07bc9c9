// The shell: start-up, the main loop, the webcam worker thread and the control panel's text.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "app/config/options.h"
#include "match/Referee.h"
#include "match/World.h"
#include "platform/win32.h"
#include "vision/WebCam.h"

extern HINSTANCE g_hInstance;
extern HWND g_hWnd;
extern HDC g_hDC;
extern CWebCam WebCam;
extern World world;
// Ends each match at a knock-out, starts the next and counts the matches won.
extern Referee referee;
// How this run plays, from the command line; set before the worker thread starts.
extern Options options;
// -1 asks the worker thread to stop; read at the top of each of its passes.
extern std::atomic<int32_t> thread_signal;
// What the control panel shows of the match, published by the main thread after every turn
// (publishReadout): each player's last sign, life as shown (never below 0 unless the match is
// endless) and matches won.
extern std::atomic<int32_t> lastSignShown1;
extern std::atomic<int32_t> lastSignShown2;
extern std::atomic<int32_t> lifeShown1;
extern std::atomic<int32_t> lifeShown2;
extern std::atomic<int32_t> winsShown1;
extern std::atomic<int32_t> winsShown2;
void publishReadout();
// Draws the match as it stands without moving its particles (a paused or waiting turn).
void drawStillScene();

int main2(HINSTANCE hInstance, HINSTANCE hPrevInstance, char* lpCmdLine, int nCmdShow);
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

// The panel of a run with a camera (app/panel/camera_panel.cpp).
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

// The panel of a keyboard-only run (app/panel/keyboard_panel.cpp).
void displayResultsKeyboard();
void displayKeyTables();
void displayReplayNotice();
void displayLastSign(int player, int x, int y);
