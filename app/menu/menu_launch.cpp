#include "app/menu/menu_launch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/config/datadir.h"
#include "app/config/options.h"
#include "app/menu/menu_screen.h"
#include "app/menu/self_process.h"
#include "app/replay/replay_files.h"
#include "platform/win32.h"
#include "play/quit.h"

namespace menu {

namespace {

constexpr const char* kMenu = "--menu";
constexpr const char* kScreen = "--menu-screen";
constexpr const char* kNotice = "--menu-notice";
// Set for the menu's runs, so that they tell it when the player left the game.
constexpr const char* kMenuRunVariable = "VORLAXIS_MENU_RUN";

// The options that choose the run, which the menu chooses instead.
const char* const kRunChoosers[] = {"--player1",  "--player2",  "--computer",
                                    "--keyboard", "--replay",   "--host",
                                    "--join",     "--simulate", "--sync-test"};

bool isRunChooser(const std::string& argument) {
    for (const char* name : kRunChoosers) {
        const std::size_t length = std::strlen(name);
        if (argument.compare(0, length, name) == 0 &&
            (argument.size() == length || argument[length] == '='))
            return true;
    }
    return false;
}

std::vector<std::string> argumentsOf(int argc, const char* const* argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::vector<const char*> argvOf(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{"vorlaxis"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    return argv;
}

CommandLine parsed(const std::vector<std::string>& arguments) {
    const std::vector<const char*> argv = argvOf(arguments);
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// Takes `name VALUE` out of the arguments; empty when it is not there.
std::string takeValue(std::vector<std::string>& arguments, const char* name) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] != name) continue;
        const std::string value = arguments[i + 1];
        arguments.erase(arguments.begin() + static_cast<long>(i),
                        arguments.begin() + static_cast<long>(i) + 2);
        return value;
    }
    return "";
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The last line a failed run wrote on standard error, without the program's name.
std::string reasonOf(const std::string& errors) {
    std::istringstream lines(errors);
    std::string line, last;
    while (std::getline(lines, line))
        if (!line.empty()) last = line;
    const std::string prefix = "vorlaxis: ";
    if (last.compare(0, prefix.size(), prefix) == 0) last.erase(0, prefix.size());
    return last.empty() ? "the game ended with a failure" : last;
}

// One showing of the menu, in the child: writes "quit" or "run" and the run's arguments, one
// a line, to the choice file.
int showScreen(std::vector<std::string> arguments) {
    const std::string choiceFile = takeValue(arguments, kScreen);
    const std::string notice = takeValue(arguments, kNotice);
    CommandLine line = parsed(arguments);
    if (line.action != CommandLine::PLAY) return runCommand(line);
    if (!loadSettings(line.options) || !enterDataFolder()) return 1;
    const Outcome outcome = showMenu(line.options, notice);
    std::ofstream out(choiceFile, std::ios::trunc);
    out << (outcome.kind == Outcome::RUN ? "run" : "quit") << '\n';
    for (const std::string& argument : outcome.arguments) out << argument << '\n';
    return outcome.kind == Outcome::QUIT && !outcome.arguments.empty() ? 1 : 0;
}

struct Files {
    std::string choice, errors;
};

Files scratchFiles() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    const std::string stem =
        (folder / ("vorlaxis-menu-" + std::to_string(thisProcessId()))).string();
    return {stem + ".choice", stem + ".errors"};
}

// What the screen chose: the run's arguments after the options, or false to leave.
bool readChoice(const std::string& path, std::vector<std::string>& run) {
    std::istringstream lines(slurp(path));
    std::string line;
    if (!std::getline(lines, line) || line != "run") return false;
    while (std::getline(lines, line)) run.push_back(line);
    return true;
}

int menuLoop(const std::vector<std::string>& options) {
    const Files files = scratchFiles();
    std::string notice;
    int code = 0;
    for (;;) {
        std::vector<std::string> screen{kScreen, files.choice};
        if (!notice.empty()) screen.insert(screen.end(), {kNotice, notice});
        screen.insert(screen.end(), options.begin(), options.end());
        std::remove(files.choice.c_str());
        code = runSelf(screen, files.errors);
        std::fputs(slurp(files.errors).c_str(), stderr);
        std::vector<std::string> run = options;
        if (code != 0 || !readChoice(files.choice, run)) break;
        const int result = runSelf(run, files.errors);
        if (result == kLeaveExitCode) break;
        const std::string errors = slurp(files.errors);
        std::fputs(errors.c_str(), stderr);
        notice = result == 0 ? "" : reasonOf(errors);
    }
    std::remove(files.choice.c_str());
    std::remove(files.errors.c_str());
    return code == 0 ? 0 : 1;
}

}  // namespace

int runExitCode(int code) {
    const char* fromMenu = std::getenv(kMenuRunVariable);
    return code == 0 && fromMenu && *fromMenu && play::leaveRequested() ? kLeaveExitCode : code;
}

bool wantsMenu(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], kMenu) == 0 || std::strcmp(argv[i], kScreen) == 0) return true;
    return false;
}

int runMenu(int argc, const char* const* argv) {
    std::vector<std::string> arguments = argumentsOf(argc, argv);
    for (const std::string& argument : arguments)
        if (argument == kScreen) return showScreen(arguments);
    std::vector<std::string> options;
    for (const std::string& argument : arguments) {
        if (isRunChooser(argument)) {
            CommandLine mistake;
            mistake.action = CommandLine::FAULT;
            mistake.fault = "option '" + argument.substr(0, argument.find('=')) +
                            "' chooses the run, which '--menu' leaves to the menu";
            return runCommand(mistake);
        }
        if (argument != kMenu) options.push_back(argument);
    }
    const CommandLine line = parsed(options);
    if (line.action != CommandLine::PLAY) return runCommand(line);
    SetEnvironmentVariableA(kMenuRunVariable, "1");
    return menuLoop(options);
}

}  // namespace menu
