#include "app/menu/menu_devices.h"

#include <SDL/SDL.h>

#include <cstdlib>
#include <filesystem>

#include "app/replay/replay_files.h"
#include "platform/win32.h"
#include "play/replay_reader.h"

namespace menu {

namespace {

// At most this many of the newest replays are listed: the rows must fit the window.
constexpr std::size_t kListedReplays = 8;

}  // namespace

bool cameraNamed(const Options& options) {
    const char* variable = std::getenv("VORLAXIS_CAMERA");
    if (!options.camera.empty() || (variable && *variable)) return true;
    char name[256] = "", version[256] = "";
    return capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version);
}

namespace {

// "20261207-184512-4242.vxr" reads "2026-12-07 18:45".
std::string dateOf(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    if (name.size() < 13) return name;
    return name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + " " +
           name.substr(9, 2) + ":" + name.substr(11, 2);
}

std::string lengthOf(int64_t turns, int turnRate) {
    const int64_t seconds = turnRate > 0 ? turns / turnRate : 0;
    const int64_t rest = seconds % 60;
    return std::to_string(seconds / 60) + ":" + (rest < 10 ? "0" : "") + std::to_string(rest);
}

std::string resultOf(int wins1, int wins2, int matches) {
    if (matches == 0) return "unfinished";
    return std::to_string(wins1) + " - " + std::to_string(wins2);
}

// "computer easy" as the fight window's badge has it, to keep the line on the screen.
std::string sideOf(std::string source) {
    const std::string computer = "computer";
    if (source.compare(0, computer.size(), computer) == 0)
        source.replace(0, computer.size(), "cpu");
    return source;
}

}  // namespace

int countGamepads() { return SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0 ? SDL_NumJoysticks() : 0; }

std::string replayLine(const std::string& path) {
    play::ReplayReader reader;
    if (!reader.open(path)) return "";
    int wins1 = 0, wins2 = 0, matches = 0;
    int64_t turns = 0;
    for (;;) {
        const play::ReplayItem item = reader.next();
        if (item.kind == play::ReplayItem::TURN) turns = item.turn;
        if (item.kind == play::ReplayItem::MATCH_END) {
            ++matches;
            wins1 += item.winner == 1;
            wins2 += item.winner == 2;
        }
        if (item.kind == play::ReplayItem::RUN_END || item.kind == play::ReplayItem::CUT_SHORT ||
            item.kind == play::ReplayItem::DAMAGED)
            break;
    }
    const play::ReplayHeader& header = reader.header();
    return dateOf(path) + "  " + sideOf(header.source1) + " v " + sideOf(header.source2) + "  " +
           resultOf(wins1, wins2, matches) + "  " + lengthOf(turns, header.turnRate);
}

std::vector<ReplayEntry> keptReplayEntries() {
    std::vector<ReplayEntry> entries;
    const std::string folder = keptReplayFolder();
    if (folder.empty()) return entries;
    const std::vector<std::string> files = keptReplays(folder);
    for (auto file = files.rbegin(); file != files.rend() && entries.size() < kListedReplays;
         ++file) {
        const std::string line = replayLine(*file);
        if (!line.empty()) entries.push_back({line, *file});
    }
    return entries;
}

}  // namespace menu
