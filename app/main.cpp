// Start-up, the main loop (message pump and game loop at once) and the webcam worker thread.
#include "app/main.h"

#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "app/config/camera_choice.h"
#include "app/config/datadir.h"
#include "app/init.h"
#include "app/menu/menu_shell.h"
#include "app/run/run_failure.h"
#include "app/shell.h"
#include "app/camera/camera_pass.h"
#include "app/camera/camera_recording.h"
#include "app/network/net_turn.h"
#include "app/panel/panel_feed.h"
#include "app/replay/replay_check.h"
#include "app/replay/replay_files.h"
#include "app/replay/replay_watch.h"
#include "app/run/run.h"
#include "app/run/windowed_turn.h"
#include "app/windowless/net_simulate.h"
#include "app/windowless/print_readings.h"
#include "app/windowless/simulate.h"
#include "app/windowless/sync_test.h"
#include "vision/panel_layout.h"
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
std::atomic<int32_t> thread_signal{0};

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// While the worker has no camera to wait for.
constexpr int kWorkerSleepMs = 200;
// The room recognition reads every camera picture: the preview follows the camera's 30 frames
// a second rather than the designed refresh.
constexpr int kRoomPreviewMs = 33;

// P or Space on the control panel while a replay is watched: the window procedure has no run
// to hand it to, so the next pass of the loop takes it.
bool panelPauseKey = false;

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

// The seed goes to the computer's sides and is kept in the match state.
// A joiner's seed is the host's: its sides start again with it once the games meet.
void startSides(Run& run) {
    if (run.watch) {
        run.watch->startRun(world);
        run.sources.start(run.options, 0);
    } else if (run.options.net == Options::Net::JOIN) {
        run.sources.start(run.options, 0);
    } else {
        run.chooseSeed(world, run.sources);
    }
}

}  // namespace

int panelFailure() {
    reportFailure("Unable to create the control panel window: " + lastErrorText());
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

namespace {

// What --record-camera writes to; open from before the windows until the worker ends.
CameraRecording cameraRecording;

bool openCameraRecording(const Options& options) {
    if (options.recordCamera.empty() || !panelFeed.camera.load(relaxed)) return true;
    std::string error;
    if (cameraRecording.open(options.recordCamera, error)) return true;
    reportFailure("vorlaxis: " + error);
    return false;
}

// The players the camera reads, as bits: 1 player 1, 2 player 2.
int cameraPlayers() {
    int players = 0;
    for (int player = 1; player <= 2; ++player)
        if (panelFeed.side(player).kind == play::PlayerSource::CAMERA) players |= 1 << (player - 1);
    return players;
}

// The capture window lives in the control panel from the first run that reads the camera to
// the end of the game.
bool cameraConnected = false;

void startCameraPreview(const Options& options) {
    CameraPassSetup setup;
    setup.vision = options.vision;
    setup.players = cameraPlayers();
    if (!options.recordCamera.empty()) setup.recording = &cameraRecording;
    setUpCameraPass(setup);
    const bool room = setup.vision == VisionMode::ROOM;
    WebCam.AfficheWebCam(room ? kRoomPreviewMs : CWebCam::kPreviewPeriodMs);
    std::printf("Recognition: %s\n", visionModeName(setup.vision));
    std::fflush(stdout);
}

// A run that ends before its loop: its recording, never begun, is dropped.
int endBeforeStart(Run& run) {
    run.recorder.finish(world.state());
    return 1;
}

// The main loop over the run's turns, until Escape or the run's end.
void loop(Run& run, TurnDriver& driver) {
    runMainLoop([&run, &driver] {
        if (panelPauseKey) run.setPaused(!run.paused());
        panelPauseKey = false;
        playWindowedTurn(run, world, driver);
    });
    panelPauseKey = false;
}

// The run's turns until it ends, with the worker started; the worker is joined on return.
int playLoop(Run& run, SDL_Thread* thread) {
    if (run.net) {
        NetTurns turns(run.sources, run.options.net == Options::Net::HOST);
        loop(run, turns);
        stopWorker(thread);
        return endNetPlay(run, world, turns, false);
    }
    run.recorder.start(world, run.options);
    RecordSource& source = run.watch ? static_cast<RecordSource&>(*run.watch) : run.sources;
    SteppedTurns turns(source);
    loop(run, turns);
    stopWorker(thread);
    run.recorder.finish(world.state());
    return run.watch ? run.watch->exitCode() : 0;
}

}  // namespace

bool connectCamera(const Options& options, int driver) {
    if (!cameraConnected) {
        if (!WebCam.Connect(driver)) {
            keepFailure("Unable to connect to the camera");
            return false;
        }
        cameraConnected = true;
    }
    startCameraPreview(options);
    return true;
}

bool prepareRun(Run& run) {
    run.sources.setUp(run.options, WebCam);
    if (!run.options.replay.empty()) {
        run.watch = std::make_unique<ReplayWatch>();
        if (!run.watch->open(run.options)) return false;
        run.pacer = TurnPacer(run.options.turnRate);
    }
    return true;
}

bool recordRun(Run& run) {
    if (!run.recorder.create(run.options)) return false;
    run.referee.setEndless(run.options.endless);
    return true;
}

void openFightWindow(const Options& options) {
    setSoundOff(options.mute);
    setSoundVolume(options.settings.volume);
    startFullscreen(options.fullscreen || options.settings.fullscreen);
    world.init();
}

bool beginRun(Run& run) {
    startSides(run);
    if (!run.sources.openGamepads(run.options)) return false;
    if (run.options.net != Options::Net::NONE && !openNetPlay(run, world)) return false;
    publishSides(run.options, run.watch != nullptr);
    publishKeys(run.options.settings);
    publishMatch(world.state(), run.referee);
    return openCameraRecording(run.options);
}

bool openPanel(HINSTANCE hInstance) {
    g_hWnd = CreationFenetre(hInstance);
    if (!g_hWnd) return false;
    WebCam.hWndParent = g_hWnd;
    g_hDC = GetDC(g_hWnd);
    WebCam.hDCAffichage = g_hDC;
    return true;
}

// Only once the worker is joined (or was never started): it draws into the panel.
void closePanel() {
    ReleaseDC(g_hWnd, g_hDC);
    DestroyWindow(g_hWnd);
}

SDL_Thread* startWorker() {
    thread_signal.store(0, relaxed);
    SDL_Thread* thread = SDL_CreateThread(thread_webcam, nullptr);
    if (!thread) reportFailure(std::string("Unable to create thread: ") + SDL_GetError());
    return thread;
}

void stopWorker(SDL_Thread* thread) {
    say("Signaling thread to quit\n");
    thread_signal.store(-1, relaxed);
    SDL_WaitThread(thread, nullptr);
}

int playInWindows(Run& run) {
    if (!panelFeed.camera.load(relaxed)) {
        // The menu's camera stays connected through a run that does not read it.
        if (cameraConnected) WebCam.HideWebCam();
    } else if (!connectCamera(run.options, run.cameraDriver)) {
        return endBeforeStart(run);
    }
    SDL_Thread* thread = startWorker();
    if (!thread) return endBeforeStart(run);
    return playLoop(run, thread);
}

namespace {

// The run as the command line asks for it, up to the windows; false after saying why not.
bool startRun(Run& run) {
    if (!prepareRun(run)) return false;
    if (!screenAvailable()) {
        panelFailure();
        return false;
    }
    if (!recordRun(run)) return false;
    openFightWindow(run.options);
    return beginRun(run);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    const CommandLine line = parseCommandLine(__argc, __argv);
    if (line.action != CommandLine::PLAY) return runCommand(line);
    Options options = line.options;
    if (!loadSettings(options)) return 1;
    if (options.menu) return menu::playMenu(options, __argc, __argv, hInstance);
    if (options.printReadings) return printReadings(options);
    if (!resolveReplayPaths(options)) return 1;
    if (options.simulate && options.net != Options::Net::NONE) return runNetSimulation(options);
    if (options.simulate && options.replay.empty())
        return options.syncTest ? runSyncTest(options) : runSimulation(options);
    const CameraChoice camera = chooseCamera(options.camera);
    if (!enterDataFolder()) return 1;
    if (options.simulate) return checkReplay(options.replayShown, options.replay);
    Run run(world, options);
    run.cameraDriver = camera.driver;
    if (!startRun(run)) return 1;
    createBackground();
    return main2(run, hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}

int main2(Run& run, HINSTANCE hInstance, HINSTANCE, char*, int) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (!openPanel(hInstance)) {
        run.recorder.finish(world.state());
        return panelFailure();
    }
    const int code = playInWindows(run);
    closePanel();
    return code;
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: play::requestLeave(); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) play::requestLeave();
        if (panelFeed.replay.load(relaxed) != PanelFeed::NO_REPLAY &&
            (wParam == 'P' || wParam == VK_SPACE))
            panelPauseKey = !panelPauseKey;
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
        int sleepMs = kWorkerSleepMs;
        if (!panelFeed.camera.load(relaxed))
            displayResultsKeyboard();
        else
            sleepMs = cameraPass();
        displayNetwork();
        if (sleepMs > 0) SDL_Delay(sleepMs);
    }
    endCameraPass();
    DeleteObject(tools.font);
    DeleteObject(tools.brush);
    say("Thread quitting\n");
    return 0;
}
