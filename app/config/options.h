// The command line: how the game is asked to play (who plays each side, which camera, no
// sound, endless matches, a number of matches, no windows at all) or to do one thing and exit
// (help, version, list the cameras).
#pragma once

#include <cstdint>
#include <string>

#include "app/config/settings.h"
#include "play/player_source.h"

// The UDP port a network match uses unless told (--host, --join).
constexpr int kDefaultNetPort = 7461;

struct Options {
    // --menu: the title screen chooses each run; the other options are what every run shares.
    bool menu = false;
    // The --camera value: a device path, a clip, or a driver number. Empty: the platform's
    // default (VORLAXIS_CAMERA, else the first capture device).
    std::string camera;
    bool keyboard = false;
    bool mute = false;
    bool endless = false;
    bool fullscreen = false;
    // Turns a second; 0 runs the turns as fast as the loop goes; -1 until loadSettings takes
    // the settings file's when the command line named none.
    int turnRate = -1;
    // The --config value: the settings file to read or write instead of settingsPath().
    std::string config;
    // --force: --write-config replaces an existing file.
    bool force = false;
    // What the settings file says, once loadSettings has read it.
    Settings settings;
    // Replays: the file this run is recorded to (empty: one is kept in the player's data
    // folder, unless noRecord), and the replay to watch, or to check with simulate.
    std::string record;
    bool noRecord = false;
    std::string replay;
    // How messages name the replay: as the player gave it, or the kept file --replay last found.
    std::string replayShown;
    // Who plays each side: both on the camera unless told otherwise, both at the keyboard
    // with --keyboard.
    play::PlayerSource player1;
    play::PlayerSource player2;
    // The seed of everything random in the run; drawn at start when none is given.
    uint64_t seed = 0;
    bool seedGiven = false;
    // Finished matches after which the game ends by itself; 0 for no end.
    int matches = 0;
    // No windows, no sound, no camera: the rules alone, as fast as they go.
    bool simulate = false;
    // --sync-test: a --simulate run that rolls every turn back two turns and compares.
    bool syncTest = false;
    // Network play: --host [PORT] waits for one other player and plays player 1; --join
    // ADDRESS[:PORT] plays player 2 at that host. The other machine's side is NETWORK.
    enum class Net { NONE, HOST, JOIN };
    Net net = Net::NONE;
    // The host's UDP port (--host's, or --join's after the colon).
    int port = kDefaultNetPort;
    // --join's address as given: IPv4, [IPv6] or a host name, without the port.
    std::string joinAddress;
    // Turns between taking a local input and the turn it acts in (--input-delay, 0..8).
    int inputDelay = 2;
    // Which recognition reads the camera: --vision, else the settings file's.
    VisionMode vision = VisionMode::CLASSIC;
    bool visionGiven = false;
    // --print-readings: no window, sound or display; the recognition's readings of every frame
    // of the --camera clip on standard output.
    bool printReadings = false;
    // --record-camera FILE: the camera's pictures of the run, as a clip.
    std::string recordCamera;
};

constexpr int kMaxInputDelay = 8;

// Whether any side is played by this kind of source.
bool anyPlayer(const Options& options, play::PlayerSource::Kind kind);

struct CommandLine {
    enum Action { PLAY, HELP, VERSION, LIST_CAMERAS, LIST_GAMEPADS, WRITE_CONFIG, FAULT };
    Action action = PLAY;
    Options options;
    // For FAULT: one line naming what is wrong, without the program name.
    std::string fault;
};

// Reads argv[1..argc-1]. The first of --help, --version, --list-cameras or of a mistake
// (unknown option, missing value, options that exclude each other) decides the action.
CommandLine parseCommandLine(int argc, const char* const* argv);

// Every option on its own line, each line starting with the option's name.
const char* usageText();
// "vorlaxis 1.0.0".
const char* versionText();

// A --camera value made only of digits names a capture driver by number; -1 otherwise
// (and for numbers too large to be one).
int cameraDriverNumber(const std::string& camera);

// Does what a non-PLAY command line asks: prints the help, version, cameras or the fault with
// the usage, or writes the default settings, and returns the exit code (0; 1 when the settings
// were not written; 2 for a fault).
int runCommand(const CommandLine& line);

// The settings file of this run: the one --config names, else settingsPath(). The menu's
// screens save their changes there.
std::string settingsFile(const Options& options);

// Reads the settings file (--config, else settingsPath()) into options.settings, naming each
// wrong line on standard error; false, after saying so, when the file --config names does not
// exist.
bool readSettingsFile(Options& options);

// Merges options.settings into the options the command line left open: its --mute stays on
// whatever the settings say, its turn rate and recognition win over theirs. False, after
// saying so, when the settings' turn rate of 0 would be a host's.
bool applySettings(Options& options);

// readSettingsFile, then applySettings.
bool loadSettings(Options& options);
