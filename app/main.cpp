// Start-up, the main loop (message pump and game loop at once) and the webcam worker thread.
#include "app/main.h"

#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "app/config/camera_choice.h"
#include "app/config/datadir.h"
#include "app/fullscreen.h"
#include "app/init.h"
#include "app/turn/match_log.h"
#include "app/panel/net_readout.h"
#include "app/windowless/net_simulate.h"
#include "app/network/net_turn.h"
#include "app/turn/pacer.h"
#include "app/panel/panel_text.h"
#include "app/replay/replay_check.h"
#include "app/replay/replay_files.h"
#include "app/replay/replay_record.h"
#include "app/replay/replay_watch.h"
#include "app/config/run_seed.h"
#include "app/turn/side_badges.h"
#include "app/windowless/simulate.h"
#include "app/windowless/print_readings.h"
#include "app/windowless/sync_test.h"
#include "app/turn/turn_sources.h"
#include "play/keyboard_source.h"
#include "platform/system_text.h"
#include "play/quit.h"
#include "render/backgrnd.h"
#include "render/screen_mode.h"
#include "sound/Son.h"

HINSTANCE g_hInstance;
HWND g_hWnd;
HDC g_hDC;
CWebCam WebCam;
World world;
Referee referee(world);
Options options;
std::atomic<int32_t> thread_signal{0};
std::atomic<int32_t> lastSignShown1{0};
std::atomic<int32_t> lastSignShown2{0};
std::atomic<int32_t> lifeShown1{100};
std::atomic<int32_t> lifeShown2{100};
std::atomic<int32_t> winsShown1{0};
std::atomic<int32_t> winsShown2{0};

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

constexpr int kWorkerSleepMs = 200;

TurnSources sources;
MatchLog matchLog;
// A network run's side of things; none in a local run.
std::unique_ptr<NetGame> netGame;

// With --matches the game ends once the last match's ending has been shown.
void countMatches() {
    matchLog.afterTurn(world.state());
    if (options.matches > 0 && matchLog.finished() >= options.matches && matchLog.underWay())
        play::requestQuit();
}

// Each side's source fills its part of the turn's record; a replay stands for every side.
// False while a watched replay is paused.
bool takeInput() {
    if (watching()) return takeReplayInput(world);
    sources.take(world, WebCam);
    return true;
}

// P pauses and resumes a local match, and it pauses when the fight window loses the focus:
// no turn passes, the scene stands still under "PAUSE", the music plays on quietly.
bool paused = false;

void setPaused(bool on) {
    if (on == paused) return;
    paused = on;
    setMusicQuiet(on);
}

void takePauseRequests() {
    if (sources.keyboard().takePauseKey() | sources.takePauseButton()) setPaused(!paused);
    if (sources.keyboard().takeFocusLost()) setPaused(true);
    if (sources.keyboard().takeFullscreenKey()) toggleFullscreen(world);
}

void drawPaused() {
    drawStillScene();
    world.moteur.draw(world.moves.getText(), animation::kPause, -0.5f, -0.15f, 1.0f, 0.3f, 1.0f);
}

void playTurn() {
    static TurnPacer pacer(options.turnRate);
    // While paused only the keys and pads are read (for P, Escape, F11): the computer's view
    // of the match and its generator wait with the match.
    const bool fresh = paused ? sources.pollWhilePaused() : takeInput();
    if (!watching()) takePauseRequests();
    if (fresh && !paused) {
        recordInput(world);
        world.update();
        referee.afterUpdate();
        recordAfterTurn(world);
        countMatches();
        publishReadout();
        world.display();
        referee.display();
    } else {
        drawPaused();
    }
    drawSideBadges(world, options);
    SDL_Delay(1);
    SDL_GL_SwapBuffers();
    SDL_Delay(2);
    pacer.wait();
}

// The players' own keys from the settings file; up and down stay on their defaults (no rule
// reads them).
void useKeySettings() {
    for (int player = 1; player <= 2; ++player) {
        const ::PlayerKeys& set = options.settings.keys[player - 1];
        play::PlayerKeys keys = play::KeyboardSource::defaultKeys(player);
        keys.left = set.left;
        keys.right = set.right;
        keys.rock = set.rock;
        keys.paper = set.paper;
        keys.scissors = set.scissors;
        sources.keyboard().setKeys(player, keys);
    }
}

// Settled before the game leaves the start folder; main2 connects its driver.
CameraChoice camera;

}  // namespace

namespace {

void say(const char* line) {
    std::fputs(line, stdout);
    std::fflush(stdout);
}

// Why the last platform call failed, in the system's words, or its error number when the
// system has none for it.
std::string lastErrorText() {
    const DWORD code = GetLastError();
    const std::string text = vorlaxis::platform::systemText(code);
    return text.empty() ? "error " + std::to_string(code) : text;
}

// The seed goes to the computer's sides and the rules' own generator alike.
// A joiner's seed is the host's: its sides start again with it once the games meet.
void startSides() {
    if (options.net == Options::Net::JOIN) {
        sources.start(options, 0);
        return;
    }
    const uint64_t seed = chooseSeed(options);
    announceSeed(options, seed);
    world.random = seed;
    options.seed = seed;  // the recording keeps the seed in use
    sources.start(options, seed);
}

int panelFailure() {
    std::fprintf(stderr, "Unable to create the control panel window: %s\n",
                 lastErrorText().c_str());
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

// One pass of the worker with a camera: grab, recognise, show.
void cameraPass() {
    WebCam.ChargeCapture(0);
    WebCam.CalBiCouleur(0);
    WebCam.calculBarycentre(0);
    WebCam.calculVariance(0);
    WebCam.discriminateRPS(0);
    displayResultsWebcam();
    WebCam.AfficheImage(0, panel::kMask1X, panel::kMask2X);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    const CommandLine line = parseCommandLine(__argc, __argv);
    if (line.action != CommandLine::PLAY) return runCommand(line);
    options = line.options;
    if (!loadSettings(options)) return 1;
    if (options.printReadings) return printReadings(options);
    useKeySettings();
    if (!resolveReplayPaths(options)) return 1;
    if (options.simulate && options.net != Options::Net::NONE) return runNetSimulation(options);
    if (options.simulate && options.replay.empty())
        return options.syncTest ? runSyncTest(options) : runSimulation(options);
    camera = chooseCamera(options.camera);
    if (!enterDataFolder()) return 1;
    if (options.simulate) return checkReplay(shownReplayName(), options.replay);
    if (!options.replay.empty() && !startWatching(options)) return 1;
    if (!screenAvailable()) return panelFailure();
    if (!createRecording(options)) return 1;
    setSoundOff(options.mute);
    referee.setEndless(options.endless);
    startFullscreen(options.fullscreen || options.settings.fullscreen);
    world.init();
    if (watching())
        startWatchedRun(world);
    else
        startSides();
    if (!sources.openGamepads(options)) return 1;
    if (options.net != Options::Net::NONE) {
        netGame = std::make_unique<NetGame>(true);
        if (!openNetPlay(*netGame)) return 1;
    } else {
        startRecording(world, options);
    }
    publishReadout();
    createBackground();
    return main2(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}

namespace {

// Only once the worker is joined (or was never started): it draws into the panel.
void closePanel() {
    ReleaseDC(g_hWnd, g_hDC);
    DestroyWindow(g_hWnd);
}

}  // namespace

int main2(HINSTANCE hInstance, HINSTANCE, char*, int) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    g_hWnd = CreationFenetre(hInstance);
    if (!g_hWnd) return panelFailure();
    WebCam.hWndParent = g_hWnd;
    g_hDC = GetDC(g_hWnd);
    WebCam.hDCAffichage = g_hDC;
    if (anyPlayer(options, play::PlayerSource::CAMERA) && !watching()) {
        WebCam.Connect(camera.driver);
        WebCam.AfficheWebCam();
    }
    SDL_Thread* thread = SDL_CreateThread(thread_webcam, nullptr);
    if (!thread) {
        std::fprintf(stderr, "Unable to create thread: %s\n", SDL_GetError());
        closePanel();
        finishRecording(world);
        return 1;
    }
    if (netGame)
        runMainLoop([] { playNetTurn(*netGame, sources); });
    else
        runMainLoop(playTurn);
    say("Signaling thread to quit\n");
    thread_signal.store(-1, relaxed);
    SDL_WaitThread(thread, nullptr);
    closePanel();
    if (netGame) return endNetPlay(*netGame);
    finishRecording(world);
    return watchExitCode();
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: play::requestQuit(); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) play::requestQuit();
        if (watching() && (wParam == 'P' || wParam == VK_SPACE)) toggleReplayPause();
        return 0;
    default: return DefWindowProcA(hWnd, message, wParam, lParam);
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
        if (!anyPlayer(options, play::PlayerSource::CAMERA))
            displayResultsKeyboard();
        else
            cameraPass();
        displayNetwork();
        SDL_Delay(kWorkerSleepMs);
    }
    DeleteObject(tools.font);
    DeleteObject(tools.brush);
    say("Thread quitting\n");
    return 0;
}
