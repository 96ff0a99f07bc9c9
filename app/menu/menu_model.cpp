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
// SDL's key code of Backspace, ASCII's too.
constexpr int kBackspace = 8;
constexpr std::size_t kLongestPort = 5;
constexpr std::size_t kLongestAddress = 80;
constexpr const char* kDefaultPort = "7461";

enum TitleRow { CAMERA, COMPUTER, KEYBOARD, HOST, JOIN, REPLAY, CHECK, SETTINGS, QUIT };

std::vector<Item> titleItems(const Devices& devices, bool anyReplay) {
    std::vector<Item> items;
    for (const char* label : kTitleItems) items.push_back({label, "", ""});
    if (!devices.camera) items[CAMERA].reason = items[CHECK].reason = kNoCamera;
    if (!anyReplay) items[REPLAY].reason = "no replay kept yet";
    items[SETTINGS].reason = "not in the menu yet";
    return items;
}

Outcome run(std::vector<std::string> arguments) {
    Outcome outcome;
    outcome.kind = Outcome::RUN;
    outcome.arguments = std::move(arguments);
    return outcome;
}

bool validPort(const std::string& digits) { return !digits.empty() && std::stol(digits) <= 65535; }

}  // namespace

MenuModel::MenuModel(Devices devices, std::vector<ReplayEntry> replays, std::string joinAddress)
    : devices(devices),
      replays(std::move(replays)),
      port(kDefaultPort),
      address(std::move(joinAddress)) {
    open(Screen::TITLE);
}

void MenuModel::attach(const std::string& label, MenuPage& attached) {
    pages.push_back({label, &attached});
    if (current == Screen::TITLE) refresh();
}

std::string MenuModel::heading() const {
    switch (current) {
    case Screen::TITLE: return "";
    case Screen::LEVEL: return "Fight the computer: level";
    case Screen::INPUT: return "Fight the computer: your input";
    case Screen::PAIR: return "Two players: their input";
    case Screen::REPLAYS: return "Watch a replay";
    case Screen::HOST_PORT: return "Host a network match: UDP port";
    case Screen::JOIN_ADDRESS: return "Join a network match: the host's address";
    case Screen::PAGE: return page ? page->heading() : "";
    }
    return "";
}

void MenuModel::open(Screen screen) {
    current = screen;
    highlighted = 0;
    refresh();
}

// The items of the current screen as they stand (the typed line, an attached page's rows).
void MenuModel::refresh() {
    switch (current) {
    case Screen::TITLE:
        shown = titleItems(devices, !replays.empty());
        for (const Attached& attached : pages)
            for (Item& item : shown)
                if (item.label == attached.label) item.reason.clear();
        break;
    case Screen::LEVEL: shown = {{"easy", "", ""}, {"normal", "", ""}, {"hard", "", ""}}; break;
    case Screen::INPUT:
        shown = {{"camera", devices.camera ? "" : kNoCamera, ""},
                 {"keyboard", "", ""},
                 {"gamepad", devices.gamepads > 0 ? "" : kNoGamepad, ""}};
        break;
    case Screen::PAIR:
        shown = {{"both at the keyboard", "", ""},
                 {"player 1 at a gamepad", devices.gamepads > 0 ? "" : kNoGamepad, ""},
                 {"both at gamepads", devices.gamepads > 1 ? "" : "only one gamepad found", ""}};
        break;
    case Screen::REPLAYS:
        shown.clear();
        for (const ReplayEntry& entry : replays) shown.push_back({entry.line, "", entry.file});
        break;
    case Screen::HOST_PORT: shown = {{port, validPort(port) ? "" : "0 to 65535", ""}}; break;
    case Screen::JOIN_ADDRESS:
        shown = {{address, address.empty() ? "type it, then Enter" : "", ""}};
        break;
    case Screen::PAGE: shown = page ? page->rows() : std::vector<Item>(); break;
    }
    if (highlighted >= static_cast<int>(shown.size())) highlighted = 0;
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
    for (const Attached& attached : pages) {
        if (attached.label != shown[static_cast<std::size_t>(highlighted)].label) continue;
        page = attached.page;
        open(Screen::PAGE);
        return {};
    }
    switch (static_cast<TitleRow>(highlighted)) {
    case CAMERA: return run({});
    case COMPUTER: open(Screen::LEVEL); return {};
    case KEYBOARD:
        if (devices.gamepads == 0) return run({"--keyboard"});
        open(Screen::PAIR);
        return {};
    case HOST: open(Screen::HOST_PORT); return {};
    case JOIN: open(Screen::JOIN_ADDRESS); return {};
    case REPLAY: open(Screen::REPLAYS); return {};
    case CHECK: return run({"--vision", "room", "--endless", "--no-record"});
    case QUIT: return back();
    case SETTINGS: break;
    }
    return {};
}

// This machine's player of a network match stands at the camera when there is one, else at
// the keyboard.
Outcome MenuModel::chooseLine() {
    std::vector<std::string> arguments{current == Screen::HOST_PORT ? "--host" : "--join",
                                       current == Screen::HOST_PORT ? port : address};
    if (!devices.camera) arguments.push_back("--keyboard");
    return run(arguments);
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
    case Screen::PAIR: {
        const char* one = highlighted == 0 ? "keyboard" : "gamepad";
        const char* two = highlighted == 2 ? "gamepad" : "keyboard";
        return run({"--player1", one, "--player2", two});
    }
    case Screen::REPLAYS: return run({"--replay", item.file});
    case Screen::HOST_PORT:
    case Screen::JOIN_ADDRESS: return chooseLine();
    case Screen::PAGE:
        if (page) page->choose(highlighted);
        refresh();
        return {};
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
    default: open(Screen::TITLE); return {};
    }
}

bool MenuModel::type(int key, char text) {
    if (current == Screen::PAGE) {
        const bool taken = page && page->takeKey(key, text, highlighted);
        refresh();
        return taken;
    }
    if (!typing()) return false;
    std::string& line = current == Screen::HOST_PORT ? port : address;
    const std::size_t longest = current == Screen::HOST_PORT ? kLongestPort : kLongestAddress;
    if (key == kBackspace) {
        if (!line.empty()) line.pop_back();
    } else if (current == Screen::HOST_PORT ? text >= '0' && text <= '9'
                                            : text > ' ' && text < 127) {
        if (line.size() < longest) line += text;
    } else {
        return false;
    }
    refresh();
    return true;
}

}  // namespace menu
