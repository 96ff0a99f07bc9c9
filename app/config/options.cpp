#include "app/config/options.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/config/gamepad_list.h"
#include "app/config/net_options.h"
#include "app/config/option_values.h"
#include "app/config/play_options.h"
#include "app/config/vision_options.h"
#include "platform/win32.h"

namespace {

const char* const kUsage =
    "Usage: vorlaxis [options]\n"
    "Two players fight with rock, paper and scissors hand signs before one webcam, or at one\n"
    "keyboard.\n"
    "\n"
    "Options:\n"
    "  --menu                  start from the title screen and choose there how to play; goes\n"
    "                          with --mute, --fullscreen, --turn-rate, --config, --camera and\n"
    "                          --vision, not with the options that choose the run\n"
    "  --camera DEVICE|CLIP|N  the camera: /dev/videoN, a .y4m clip, or N for the Nth capture "
    "device\n"
    "  --keyboard              play with the keyboard only; no camera is opened\n"
    "  --player1 SOURCE        who plays player 1: camera, keyboard, gamepad, computer (normal),\n"
    "                          computer:easy, computer:normal or computer:hard\n"
    "  --player2 SOURCE        who plays player 2, as for --player1\n"
    "  --computer[=LEVEL]      play against the computer: short for --player2 computer:LEVEL\n"
    "                          (easy, normal or hard; normal when no level is given)\n"
    "  --seed N                the seed of the computer's choices, to play a match again\n"
    "  --matches N             end the game by itself after N finished matches\n"
    "  --simulate              no windows, sound or camera: computer players only, as fast as\n"
    "                          the machine goes; prints each match's result and the tally;\n"
    "                          with --replay: checks the replay\n"
    "  --sync-test             as --simulate, 10000 turns, each rolled back two turns and\n"
    "                          played again: the state hashes must agree\n"
    "  --host [PORT]           play player 1 over the network: wait for the other player on\n"
    "                          UDP PORT (default 7461; 0: any free port, which is shown)\n"
    "  --join ADDRESS[:PORT]   play player 2 over the network against the host at ADDRESS\n"
    "                          (192.168.1.5, [2001:db8::1]:9000, gamebox.local; port 7461)\n"
    "  --input-delay N         with --host or --join: turns from a key to its move, 0 to 8\n"
    "                          (default 2); more hides a longer round trip\n"
    "  --mute                  play without sound; no audio device is needed\n"
    "  --endless               an endless match: lives only fall, nobody is knocked out\n"
    "  --fullscreen            the fight takes the whole screen (F11 or Alt+Enter switches)\n"
    "  --turn-rate N           turns a second (default 60); 0 runs as fast as the machine "
    "draws\n"
    "  --config FILE           the settings file to use instead of\n"
    "                          $XDG_CONFIG_HOME/vorlaxis/vorlaxis.conf\n"
    "  --write-config          write the default settings to that file and exit\n"
    "  --force                 with --write-config: replace a settings file that exists\n"
    "  --record FILE           record this run's matches to FILE (a played run is kept anyway)\n"
    "  --no-record             keep no replay of this run\n"
    "  --replay FILE|last      watch a recorded run (last: the newest kept one); P or Space\n"
    "                          pauses\n"
    "  --vision classic|room   how the camera reads the hands: classic for a dark backdrop and\n"
    "                          dark sleeves, room for a lit room (calibrated on the players in\n"
    "                          its first 2 s, F5 again); default classic, or the settings file's\n"
    "  --print-readings        with --camera CLIP: print each frame's readings and exit; no\n"
    "                          window, sound or display\n"
    "  --record-camera FILE    save what the camera sees during the run to FILE (.y4m), for\n"
    "                          --print-readings to read back\n"
    "  --list-cameras          list the capture devices and exit\n"
    "  --list-gamepads         list the gamepads and exit\n"
    "  --help                  show this help and exit\n"
    "  --version               show the version and exit\n"
    "\n"
    "Keys in the fight window: player 1 walks with A and D and shows rock, paper and scissors\n"
    "with Z, X and C; player 2 walks with Left and Right and shows them with B, N and M\n"
    "(the settings file can change these keys).\n"
    "Escape in either window ends the game; in a run started from the menu, Escape in the\n"
    "fight window goes back to the menu.\n";

CommandLine fault(const std::string& why) {
    CommandLine line;
    line.action = CommandLine::FAULT;
    line.fault = why;
    return line;
}

CommandLine action(CommandLine::Action what) {
    CommandLine line;
    line.action = what;
    return line;
}

// The switches that take no value; null when `arg` is none of them.
bool* flagOf(const char* arg, Options& options) {
    if (std::strcmp(arg, "--menu") == 0) return &options.menu;
    if (std::strcmp(arg, "--keyboard") == 0) return &options.keyboard;
    if (std::strcmp(arg, "--mute") == 0) return &options.mute;
    if (std::strcmp(arg, "--endless") == 0) return &options.endless;
    if (std::strcmp(arg, "--fullscreen") == 0) return &options.fullscreen;
    if (std::strcmp(arg, "--force") == 0) return &options.force;
    if (std::strcmp(arg, "--no-record") == 0) return &options.noRecord;
    return nullptr;
}

// The value of an option that takes one, as `--name=value` or `--name value`; a following
// option is a forgotten value, not the value. Null when `arg` is not that option, empty when
// the value is missing.
const char* valueOfOption(const char* name, int argc, const char* const* argv, int& i) {
    const char* value = nullptr;
    if (!matches(argv[i], name, &value)) return nullptr;
    value = valueOf(value, argc, argv, i);
    return value ? value : "";
}

// Which replay options cannot go together, or with the rest; empty when all can.
std::string replayConflict(const Options& o, const NamedOptions& named) {
    if (!o.record.empty() && o.noRecord)
        return "options '--record' and '--no-record' exclude each other";
    if (!o.replay.empty() && (o.keyboard || !o.camera.empty() || named.player1 || named.player2))
        return "option '--replay' plays the recorded input: it excludes '--keyboard', "
               "'--camera' and the players' sources";
    return "";
}

// The title screen chooses who plays and how: an option that chooses the run, or names the one
// file a run writes, cannot go beside --menu. Empty when none is there.
std::string menuConflict(const Options& o, const NamedOptions& named) {
    if (!o.menu) return "";
    if (o.keyboard || named.player1 || named.player2 || !o.replay.empty() ||
        o.net != Options::Net::NONE || o.simulate || o.syncTest || o.printReadings)
        return "option '--menu' leaves the choice of the run to the title screen: it excludes "
               "'--keyboard', the players' sources, '--replay', '--host', '--join' and "
               "'--simulate'";
    if (!o.record.empty() || !o.recordCamera.empty())
        return "option '--menu' plays many runs: it excludes '--record' and '--record-camera', "
               "which name one file";
    return "";
}

CommandLine::Action commandOf(const char* arg) {
    if (std::strcmp(arg, "--help") == 0) return CommandLine::HELP;
    if (std::strcmp(arg, "--version") == 0) return CommandLine::VERSION;
    if (std::strcmp(arg, "--list-cameras") == 0) return CommandLine::LIST_CAMERAS;
    if (std::strcmp(arg, "--list-gamepads") == 0) return CommandLine::LIST_GAMEPADS;
    return CommandLine::PLAY;
}

int listCameras() {
    int found = 0;
    for (UINT index = 0; index < 10; ++index) {
        char name[256] = "";
        char version[256] = "";
        if (!capGetDriverDescriptionA(index, name, sizeof name, version, sizeof version)) continue;
        std::printf("%u: %s (%s)\n", index, name, version);
        ++found;
    }
    if (found == 0) std::puts("no camera found");
    return 0;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    NamedOptions named;
    std::string why;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = nullptr;
        if (commandOf(arg) != CommandLine::PLAY) return action(commandOf(arg));
        if (bool* flag = flagOf(arg, line.options)) {
            *flag = true;
        } else if (std::strcmp(arg, "--write-config") == 0) {
            line.action = CommandLine::WRITE_CONFIG;
        } else if ((value = valueOfOption("--camera", argc, argv, i))) {
            if (!*value) return fault("option '--camera' needs a value");
            line.options.camera = value;
        } else if ((value = valueOfOption("--config", argc, argv, i))) {
            if (!*value) return fault("option '--config' needs a value");
            line.options.config = value;
        } else if ((value = valueOfOption("--record", argc, argv, i))) {
            if (!*value) return fault("option '--record' needs a file name");
            line.options.record = value;
        } else if ((value = valueOfOption("--replay", argc, argv, i))) {
            if (!*value) return fault("option '--replay' needs a file name");
            line.options.replay = value;
        } else if ((value = valueOfOption("--turn-rate", argc, argv, i))) {
            const long rate = numberIn(value, 0, 1000);
            if (rate < 0) return fault("option '--turn-rate' needs a number from 0 to 1000");
            line.options.turnRate = static_cast<int>(rate);
        } else if (readPlayOption(argc, argv, i, line.options, named, why) ||
                   readNetOption(argc, argv, i, line.options, named, why) ||
                   readVisionOption(argc, argv, i, line.options, why)) {
            if (!why.empty()) return fault(why);
        } else {
            return fault(std::string(arg[0] == '-' ? "unknown option '" : "unexpected argument '") +
                         arg + "'");
        }
    }
    if (line.options.keyboard && !line.options.camera.empty())
        return fault("options '--keyboard' and '--camera' exclude each other");
    if (line.options.force && line.action != CommandLine::WRITE_CONFIG)
        return fault("option '--force' only goes with '--write-config'");
    why = menuConflict(line.options, named);
    if (!why.empty()) return fault(why);
    why = netConflict(line.options, named);
    if (!why.empty()) return fault(why);
    why = replayConflict(line.options, named);
    if (!why.empty()) return fault(why);
    why = printReadingsConflict(line.options, named);
    if (!why.empty()) return fault(why);
    why = recordCameraConflict(line.options);
    if (!why.empty()) return fault(why);
    // A replay brings its own players.
    if (!line.options.replay.empty()) return line;
    why = settleSides(line.options, named);
    if (!why.empty()) return fault(why);
    return line;
}

const char* usageText() { return kUsage; }

const char* versionText() { return "vorlaxis " VORLAXIS_VERSION; }

int cameraDriverNumber(const std::string& camera) {
    if (camera.empty() || camera.size() > 4) return -1;
    int number = 0;
    for (char c : camera) {
        if (c < '0' || c > '9') return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

std::string settingsFile(const Options& options) {
    return options.config.empty() ? settingsPath() : options.config;
}

namespace {

int writeConfig(const Options& options) {
    const std::string path = settingsFile(options);
    std::string error;
    if (!writeDefaultSettings(path, options.force, error)) {
        std::fprintf(stderr, "vorlaxis: %s\n", error.c_str());
        return 1;
    }
    std::printf("vorlaxis: wrote the default settings to %s\n", path.c_str());
    return 0;
}

}  // namespace

int runCommand(const CommandLine& line) {
    switch (line.action) {
    case CommandLine::HELP: std::fputs(usageText(), stdout); return 0;
    case CommandLine::VERSION: std::puts(versionText()); return 0;
    case CommandLine::LIST_CAMERAS: return listCameras();
    case CommandLine::LIST_GAMEPADS: return listGamepads();
    case CommandLine::WRITE_CONFIG: return writeConfig(line.options);
    case CommandLine::FAULT:
        std::fprintf(stderr, "vorlaxis: %s\n%s", line.fault.c_str(), usageText());
        return 2;
    case CommandLine::PLAY: break;
    }
    return 0;
}

bool readSettingsFile(Options& options) {
    const std::string path = settingsFile(options);
    std::error_code code;
    // A file named on the command line is meant to be there: a typo must not pass for the
    // defaults. The usual file may well not exist yet.
    if (!options.config.empty() && !std::filesystem::exists(path, code)) {
        std::fprintf(stderr, "vorlaxis: the settings file %s does not exist\n", path.c_str());
        return false;
    }
    // The game moves into its data folder before the menu saves any change.
    const std::filesystem::path full = std::filesystem::absolute(path, code);
    if (!options.config.empty() && !code) options.config = full.string();
    std::vector<std::string> errors;
    options.settings = readSettings(path, errors);
    for (const std::string& error : errors) std::fprintf(stderr, "vorlaxis: %s\n", error.c_str());
    return true;
}

bool applySettings(Options& options) {
    options.mute = options.mute || options.settings.mute;
    if (options.turnRate < 0) options.turnRate = options.settings.turnRate;
    if (!options.visionGiven) options.vision = options.settings.vision;
    const std::string unpaced =
        netTurnRateFault(options, "the turn-rate of " + settingsFile(options));
    if (!unpaced.empty()) {
        std::fprintf(stderr, "vorlaxis: %s\n", unpaced.c_str());
        return false;
    }
    return true;
}

bool loadSettings(Options& options) { return readSettingsFile(options) && applySettings(options); }
