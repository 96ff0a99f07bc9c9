#include "app/menu/menu_model.h"

#include <utility>

namespace menu {

const char* const kTitleItems[9] = {"Two players at the camera",
                                    "Fight the computer",
                                    "Two players at the keyboard",
                                    "Host a network match",
                                    "Join a network match",
                                    "Watch a replay",
                                    "Camera check",
                                    "Settings",
                                    "Quit"};

namespace {

constexpr const char* kNoCamera = "no camera found";
constexpr const char* kNoGamepad = "no gamepad found";

enum TitleRow { CAMERA, COMPUTER, KEYBOARD, HOST, JOIN, REPLAY, CHECK, SETTINGS, QUIT };

std::vector<Item> titleItems(const Devices& devices, bool anyReplay) {
    std::vector<Item> items;
    for (const char* label : kTitleItems) items.push_back({label, "", ""});
    if (!devices.camera) items[CAMERA].reason = items[CHECK].reason = kNoCamera;
    if (!anyReplay) items[REPLAY].reason = "no replay kept yet";
    items[JOIN].reason = "not in the menu yet";
    items[SETTINGS].reason = "not in the menu yet";
    return items;
}

Outcome run(std::vector<std::string> arguments) {
    Outcome outcome;
    outcome.kind = Outcome::RUN;
    outcome.arguments = std::move(arguments);
    return outcome;
}

}  // namespace

MenuModel::MenuModel(Devices devices, std::vector<ReplayEntry> replays)
    : devices(devices), replays(std::move(replays)) {
    open(Screen::TITLE);
}

void MenuModel::open(Screen screen) {
    current = screen;
    highlighted = 0;
    switch (screen) {
    case Screen::TITLE: shown = titleItems(devices, !replays.empty()); break;
    case Screen::LEVEL: shown = {{"easy", "", ""}, {"normal", "", ""}, {"hard", "", ""}}; break;
    case Screen::INPUT:
        shown = {{"camera", devices.camera ? "" : kNoCamera, ""},
                 {"keyboard", "", ""},
                 {"gamepad", devices.gamepad ? "" : kNoGamepad, ""}};
        break;
    case Screen::REPLAYS:
        shown.clear();
        for (const ReplayEntry& entry : replays) shown.push_back({entry.line, "", entry.file});
        break;
    }
}

void MenuModel::move(int delta) {
    const int count = static_cast<int>(shown.size());
    if (count == 0) return;
    highlighted = ((highlighted + delta) % count + count) % count;
}

void MenuModel::point(int row) {
    if (row >= 0 && row < static_cast<int>(shown.size())) highlighted = row;
}

Outcome MenuModel::chooseOnTitle() {
    switch (static_cast<TitleRow>(highlighted)) {
    case CAMERA: return run({});
    case COMPUTER: open(Screen::LEVEL); return {};
    case KEYBOARD: return run({"--keyboard"});
    case HOST: return run({"--host"});
    case REPLAY: open(Screen::REPLAYS); return {};
    case CHECK: return run({"--vision", "room", "--endless", "--no-record"});
    case QUIT: return back();
    case JOIN:
    case SETTINGS: break;
    }
    return {};
}

Outcome MenuModel::choose() {
    if (highlighted >= static_cast<int>(shown.size())) return {};
    const Item item = shown[static_cast<std::size_t>(highlighted)];
    if (!item.reason.empty()) return {};
    switch (current) {
    case Screen::TITLE: return chooseOnTitle();
    case Screen::LEVEL:
        level = item.label;
        open(Screen::INPUT);
        return {};
    case Screen::INPUT: return run({"--player1", item.label, "--player2", "computer:" + level});
    case Screen::REPLAYS: return run({"--replay", item.file});
    }
    return {};
}

Outcome MenuModel::back() {
    switch (current) {
    case Screen::TITLE: {
        Outcome quit;
        quit.kind = Outcome::QUIT;
        return quit;
    }
    case Screen::INPUT: open(Screen::LEVEL); return {};
    case Screen::LEVEL:
    case Screen::REPLAYS: open(Screen::TITLE); return {};
    }
    return {};
}

}  // namespace menu
