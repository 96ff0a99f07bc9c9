#include "app/menu/menu_shell.h"

// The shell's header first: its Win32 names give way to OpenGL's.
#include "app/main.h"

#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <vector>

#include "app/camera/camera_pass.h"
#include "app/config/camera_choice.h"
#include "app/config/datadir.h"
#include "app/menu/hand_steering.h"
#include "app/menu/menu_devices.h"
#include "app/menu/menu_hand.h"
#include "app/menu/menu_screen.h"
#include "app/menu/settings_page.h"
#include "app/panel/panel_feed.h"
#include "app/replay/replay_files.h"
#include "app/run/run.h"
#include "app/run/run_failure.h"
#include "app/shell.h"
#include "play/quit.h"
#include "render/backgrnd.h"
#include "sound/Son.h"

namespace menu {

namespace {

// Between two drawings of the menu: it waits for the player, there is nothing to pace.
constexpr int kFrameDelayMs = 15;

// What every run of this game shares: the command line without --menu, and the camera.
struct Base {
    std::vector<std::string> arguments;
    Options options;
    int cameraDriver = 0;
    bool camera = false;
    // The Settings page, over options.settings: what every run takes, as the menu left them.
    MenuPage* settingsPage = nullptr;
    // Why the Join screen's address could not be kept in the settings file; empty if it was.
    std::string joinProblem;
};

std::vector<std::string> sharedArguments(int argc, char** argv, const Options& options) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        // The camera is settled once for the whole game (chooseCamera), and a run at the
        // keyboard or a replay would refuse it.
        if (argument == "--camera") ++i;
        if (argument == "--menu" || argument.rfind("--camera", 0) == 0) continue;
        arguments.push_back(argument);
    }
    // The data folder becomes the working folder: a settings file named from the start folder
    // is named again, whole, after the rest (the last --config counts).
    if (!options.config.empty()) {
        std::error_code error;
        arguments.push_back("--config");
        arguments.push_back(std::filesystem::absolute(options.config, error).string());
    }
    return arguments;
}

// The options of a run the menu chose: the shared ones and the choice's; false after saying
// why not.
bool runOptions(const Base& base, const std::vector<std::string>& chosen, Options& options) {
    std::vector<std::string> arguments = base.arguments;
    arguments.insert(arguments.end(), chosen.begin(), chosen.end());
    std::vector<const char*> argv{"vorlaxis"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    const CommandLine line = parseCommandLine(static_cast<int>(argv.size()), argv.data());
    if (line.action != CommandLine::PLAY) {
        reportFailure("vorlaxis: " + line.fault);
        return false;
    }
    options = line.options;
    options.settings = base.options.settings;
    return applySettings(options) && resolveReplayPaths(options);
}

// A fresh match in the windows that stay: the state, the particles, the panel's feed.
void freshWorld() {
    // The counters, the game and the towers a run left, which the start values keep.
    world.restore(MatchState());
    world.setStartValues();
    world.moves.clearParticles();
    resetPanelFeed();
}

// Plays one chosen run to its end; the reason it failed, or empty.
std::string playRun(const Base& base, const std::vector<std::string>& chosen) {
    takeFailure();
    Options options;
    if (!runOptions(base, chosen, options)) return takeFailure();
    freshWorld();
    Run run(world, options);
    run.cameraDriver = base.cameraDriver;
    int code = 1;
    if (prepareRun(run) && recordRun(run) && beginRun(run))
        code = playInWindows(run);
    else
        run.recorder.finish(world.state());
    // A run left while paused leaves the music quiet; the title and the next run have it back.
    setMusicQuiet(false);
    std::string reason = takeFailure();
    if (code != 0 && reason.empty()) reason = "the run ended with a failure";
    return reason;
}

// The panel while the menu shows: the camera's picture and masks when there is one, else the
// keys.
void publishMenuPanel(const Base& base) {
    Options shown = base.options;
    shown.player1.kind = shown.player2.kind =
        base.camera ? play::PlayerSource::CAMERA : play::PlayerSource::KEYBOARD;
    freshWorld();
    publishSides(shown, false);
    publishKeys(base.options.settings);
    if (!base.camera) return;
    // The room recognition reads the hand that steers the menu, in its player's half only: the
    // menu calibrates that player each time it shows.
    shown.vision = VisionMode::ROOM;
    connectCamera(shown, base.cameraDriver);
    setUpCameraPass({VisionMode::ROOM, 1 << (kMenuHandPlayer - 1), nullptr});
}

// The first gamepad moves through the menu; closed again before a run opens the pads its way.
class MenuPad {
public:
    MenuPad() {
        if (countGamepads() > 0) pad = SDL_JoystickOpen(0);
        SDL_JoystickEventState(SDL_ENABLE);
    }
    ~MenuPad() {
        if (pad) SDL_JoystickClose(pad);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    MenuPad(const MenuPad&) = delete;
    MenuPad& operator=(const MenuPad&) = delete;

private:
    SDL_Joystick* pad = nullptr;
};

// The title screen and its screens until a run is chosen or the player leaves.
Outcome showMenu(Base& base, const MenuFont& font, const std::string& notice) {
    publishMenuPanel(base);
    SDL_Thread* worker = startWorker();
    if (!worker) return {Outcome::QUIT, {"failed"}};
    MenuPad pad;
    Devices devices;
    devices.camera = base.camera;
    devices.gamepads = countGamepads();
    MenuModel model(devices, keptReplayEntries(), base.options.settings.join);
    if (base.settingsPage) model.attach("Settings", *base.settingsPage);
    MenuScreen screen(model, font);
    screen.setNotice(notice);
    HandSteering hand;
    screen.showHand(hand);
    SDL_EnableUNICODE(1);
    Outcome outcome;
    runMainLoop([&] {
        SDL_Event event;
        while (outcome.kind == Outcome::STAY && SDL_PollEvent(&event)) {
            outcome = screen.take(event);
            if (event.type == SDL_QUIT) play::requestLeave();
        }
        if (outcome.kind == Outcome::STAY && base.camera)
            outcome = hand.frame(model, SDL_GetTicks());
        if (outcome.kind != Outcome::STAY) play::requestQuit();
        screen.tick(SDL_GetTicks());
        screen.draw();
        SDL_GL_SwapBuffers();
        SDL_Delay(kFrameDelayMs);
    });
    SDL_EnableUNICODE(0);
    stopWorker(worker);
    if (outcome.kind == Outcome::RUN && model.screen() == Screen::JOIN_ADDRESS)
        base.joinProblem = rememberJoinAddress(base.options.settings, settingsFile(base.options),
                                               model.joinAddress());
    if (play::leaveRequested()) outcome.kind = Outcome::QUIT;
    return outcome;
}

// The windows, the backdrop and the menu's font, once; false after saying why not.
bool openWindows(const Options& options, HINSTANCE instance, MenuFont& font) {
    if (!screenAvailable()) {
        panelFailure();
        return false;
    }
    openFightWindow(options);
    createBackground();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    std::string error;
    if (!font.load(error)) {
        std::fprintf(stderr, "vorlaxis: the menu's font: %s\n", error.c_str());
        return false;
    }
    if (openPanel(instance)) return true;
    panelFailure();
    return false;
}

}  // namespace

int playMenu(const Options& options, int argc, char** argv, HINSTANCE instance) {
    panelFeed.fromMenu.store(true, std::memory_order_relaxed);
    Base base;
    base.options = options;
    base.arguments = sharedArguments(argc, argv, options);
    const CameraChoice camera = chooseCamera(options.camera);
    base.cameraDriver = camera.driver;
    if (!enterDataFolder()) return 1;
    MenuFont font;
    if (!openWindows(options, instance, font)) return 1;
    SettingsPage settings(base.options.settings, settingsFile(options), options.mute);
    base.settingsPage = &settings;
    base.camera = cameraNamed(options) && connectCamera(options, base.cameraDriver);
    std::string notice;
    Outcome outcome;
    for (;;) {
        outcome = showMenu(base, font, notice);
        if (outcome.kind != Outcome::RUN) break;
        notice = playRun(base, outcome.arguments);
        if (notice.empty()) notice = base.joinProblem;
        base.joinProblem.clear();
        if (play::leaveRequested()) break;
    }
    closePanel();
    // Only a worker that could not start ends the menu with a failure.
    return outcome.kind == Outcome::QUIT && !outcome.arguments.empty() ? 1 : 0;
}

}  // namespace menu
