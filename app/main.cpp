// Start-up, the main loop (message pump and game loop at once), the webcam worker thread and
// the readings it writes into the control panel.
#include "app/main.h"

#include <SDL/SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

#include "app/datadir.h"
#include "app/init.h"
#include "render/backgrnd.h"

HINSTANCE g_hInstance;
HWND g_hWnd;
HDC g_hDC;
CWebCam WebCam;
World world;
std::atomic<int32_t> thread_signal{0};

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Text panels and marker boxes, in control panel pixels.
constexpr int kPanelWidth = 120;
constexpr int kPanelHeight = 240;
constexpr int kPanel1Left = 320;
constexpr int kPanel2Left = 760;
constexpr int kText1X = 330;
constexpr int kText2X = 770;
constexpr int kBoxWidth = 160;
constexpr int kBox2Left = 1040;
constexpr int kLineStep = 20;
// Centre of a player's half picture.
constexpr int kHalfCentreX = 80;
constexpr int kHalfCentreY = 120;
// Hands closer than this to the centre read as no direction.
constexpr float kNeutralRadius = 40.0f;
constexpr int kWorkerSleepMs = 200;

void playTurn() {
    world.handleWebcamEvents(WebCam.baryX1.load(relaxed), WebCam.baryY1.load(relaxed),
                             WebCam.baryX2.load(relaxed), WebCam.baryY2.load(relaxed),
                             WebCam.rps1.load(relaxed), WebCam.rps2.load(relaxed));
    world.update();
    world.display();
    SDL_Delay(1);
    SDL_GL_SwapBuffers();
    SDL_Delay(2);
}

}  // namespace

// Pending messages always go first; a game turn runs on each pass that finds none.
void runMainLoop(const std::function<void()>& turn) {
    MSG msg;
    bool quit = false;
    while (!quit) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        } else {
            turn();
        }
    }
}

namespace {

void say(const char* line) {
    std::fputs(line, stdout);
    std::fflush(stdout);
}

void drawText(int x, int y, const char* text) {
    TextOutA(g_hDC, x, y, text, static_cast<int>(std::strlen(text)));
}

// The panel has room for 9 characters of a number; longer ones are cut, never overflow.
void drawNumber(int x, int y, int value) {
    constexpr size_t kShown = 9;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    buffer[kShown] = '\0';
    drawText(x, y, buffer);
}

void drawLine(int x, int y, const char* label, int value) {
    drawText(x, y, label);
    drawNumber(x, y, value);
}

void drawLine(int x, int y, const char* label, const char* value) {
    drawText(x, y, label);
    drawText(x, y, value);
}

int readingOf(int player, const std::atomic<int32_t>& first,
              const std::atomic<int32_t>& second) {
    return player == 1 ? first.load(relaxed) : second.load(relaxed);
}

// Degrees from the hand's offset to the centre of the half picture, as the panel shows it.
double angleOf(int dx, int dy) {
    if (dx == 0) return 0.0;
    double a = std::atan(static_cast<double>(dy) / dx) * 180.0 / 3.14159265;
    if (dx > 0) return a + 180.0;
    return dy > 0 ? a + 360.0 : a;
}

const char* directionWord(float distance, double a) {
    if (distance < kNeutralRadius) return "neutral";
    if (a <= 45.0 || a > 315.0) return "RIGHT";
    if (a <= 135.0) return "UP";
    if (a <= 225.0) return "LEFT";
    return "DOWN";
}

// Why the last platform call failed, in the system's words, or its error number when the
// system has none for it.
std::string lastErrorText() {
    const DWORD code = GetLastError();
    char text[256];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 && std::strchr(" \r\n", text[length - 1])) --length;
    if (length == 0) return "error " + std::to_string(code);
    return std::string(text, length);
}

int panelFailure() {
    std::fprintf(stderr, "Unable to create the control panel window: %s\n", lastErrorText().c_str());
    return 1;
}

// The control panel is the only way to end the game, so without a screen to show it on there
// is no point opening the 3D window, the audio device or the camera first.
bool screenAvailable() {
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    ReleaseDC(nullptr, screen);
    return true;
}

const char* signWord(int sign) {
    if (sign == 1) return "ROCK";
    if (sign == 2) return "PAPER";
    return "SCISS";
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    if (!enterDataFolder()) return 1;
    if (!screenAvailable()) return panelFailure();
    world.init();
    createBackground();
    return main2(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}

int main2(HINSTANCE hInstance, HINSTANCE, char*, int) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    g_hWnd = CreationFenetre(hInstance);
    if (!g_hWnd) return panelFailure();
    WebCam.hWndParent = g_hWnd;
    g_hDC = GetDC(g_hWnd);
    WebCam.hDCAffichage = g_hDC;
    WebCam.Connect();
    WebCam.AfficheWebCam();
    SDL_Thread* thread = SDL_CreateThread(thread_webcam, nullptr);
    if (!thread) {
        std::fprintf(stderr, "Unable to create thread: %s\n", SDL_GetError());
        return 1;
    }
    runMainLoop(playTurn);
    say("Signaling thread to quit\n");
    thread_signal.store(-1, relaxed);
    SDL_WaitThread(thread, nullptr);
    DestroyWindow(g_hWnd);
    return 0;
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

PanelTools preparePanelDC() {
    LOGFONTA logFont{};
    logFont.lfHeight = 18;
    std::strcpy(logFont.lfFaceName, "Impact");
    PanelTools tools;
    tools.font = CreateFontIndirectA(&logFont);
    SelectObject(g_hDC, tools.font);
    SetTextColor(g_hDC, RGB(22, 199, 35));
    SetBkMode(g_hDC, TRANSPARENT);
    tools.brush = CreateSolidBrush(RGB(0, 0, 0));
    SelectObject(g_hDC, tools.brush);
    return tools;
}

int thread_webcam(void*) {
    PanelTools tools = preparePanelDC();
    while (thread_signal.load(relaxed) != -1) {
        WebCam.ChargeCapture(0);
        WebCam.CalBiCouleur(0);
        WebCam.calculBarycentre(0);
        WebCam.calculVariance(0);
        WebCam.discriminateRPS(0);
        displayResultsWebcam();
        WebCam.AfficheImage(0, 0, 0);
        SDL_Delay(kWorkerSleepMs);
    }
    DeleteObject(tools.font);
    DeleteObject(tools.brush);
    say("Thread quitting\n");
    return 0;
}

void displayResultsWebcam() {
    Rectangle(g_hDC, kPanel1Left, 0, kPanel1Left + kPanelWidth, kPanelHeight);
    Rectangle(g_hDC, kPanel2Left, 0, kPanel2Left + kPanelWidth, kPanelHeight);
    displayValuePosition(1, kText1X, 20);
    displayValuePosition(2, kText2X, 20);
    displayInterpPosition(1, kText1X, 60);
    displayInterpPosition(2, kText2X, 60);
    displayLife(1, kText1X, 120);
    displayLife(2, kText2X, 120);
    displayCirclePosition(1, 0, 0);
    displayCirclePosition(2, kBox2Left, 0);
    displayVariance(1, kText1X, 160);
    displayVariance(2, kText2X, 160);
    displayRPS(1, kText1X, 200);
    displayRPS(2, kText2X, 200);
}

void displayValuePosition(int player, int x, int y) {
    int baryX = readingOf(player, WebCam.baryX1, WebCam.baryX2);
    int baryY = readingOf(player, WebCam.baryY1, WebCam.baryY2);
    drawText(x, y, "                         ---X");
    drawText(x, y + kLineStep, "                         ---Y");
    drawNumber(x, y, kHalfCentreX - baryX);
    drawNumber(x, y + kLineStep, kHalfCentreY - baryY);
}

void displayInterpPosition(int player, int x, int y) {
    int dx = readingOf(player, WebCam.baryX1, WebCam.baryX2) - kHalfCentreX;
    int dy = readingOf(player, WebCam.baryY1, WebCam.baryY2) - kHalfCentreY;
    float fx = static_cast<float>(dx), fy = static_cast<float>(dy);
    float distance = std::sqrt(fx * fx + fy * fy);
    double a = angleOf(dx, dy);
    drawLine(x, y, "                         ---pos", directionWord(distance, a));
    drawLine(x, y + kLineStep, "                         ---angle", static_cast<int>(a));
}

void displayLife(int player, int x, int y) {
    drawLine(x, y, "                         ---life", readingOf(player, world.life1, world.life2));
}

void displayCirclePosition(int player, int left, int top) {
    int baryX = readingOf(player, WebCam.baryX1, WebCam.baryX2);
    int baryY = readingOf(player, WebCam.baryY1, WebCam.baryY2);
    Rectangle(g_hDC, left, top, left + kBoxWidth, top + kPanelHeight);
    drawText(left - baryX + kBoxWidth, top + baryY, "o");
}

void displayVariance(int player, int x, int y) {
    drawLine(x, y, "                         ---VarX", readingOf(player, WebCam.varX1, WebCam.varX2));
    drawLine(x, y + kLineStep, "                         ---VarY",
             readingOf(player, WebCam.varY1, WebCam.varY2));
}

void displayRPS(int player, int x, int y) {
    drawLine(x, y, "                         ---res", signWord(readingOf(player, WebCam.rps1, WebCam.rps2)));
}
