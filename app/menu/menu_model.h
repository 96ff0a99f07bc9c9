#pragma once
// What the menu shows and where a choice leads, without a window: the screens, their items,
// the highlighted one, and the run a finished choice asks for (as command-line options).
#include <string>
#include <vector>

namespace menu {

enum class Screen { TITLE, LEVEL, INPUT, REPLAYS };

struct Item {
    std::string label;
    // Why the item cannot work; empty when it can be chosen.
    std::string reason;
    // The replay file an item of the replay list plays.
    std::string file;
};

// What the machine has, decided once before the menu shows.
struct Devices {
    bool camera = false;
    bool gamepad = false;
};

// One kept replay, as the list shows it.
struct ReplayEntry {
    std::string line;
    std::string file;
};

// The end of a step of the menu: nothing yet, the game ends, or a run with these options.
struct Outcome {
    enum Kind { STAY, QUIT, RUN } kind = STAY;
    std::vector<std::string> arguments;
};

class MenuModel {
public:
    MenuModel(Devices devices, std::vector<ReplayEntry> replays);

    Screen screen() const { return current; }
    const std::vector<Item>& items() const { return shown; }
    int highlight() const { return highlighted; }

    // Moves the highlight by `delta` rows, wrapping round.
    void move(int delta);
    // Puts the highlight on a row (the mouse over it); rows out of range change nothing.
    void point(int row);
    // Enter, a click, button 0: chooses the highlighted item.
    Outcome choose();
    // Escape, button 1: the screen before, or the end of the game from the title screen.
    Outcome back();

private:
    void open(Screen screen);
    Outcome chooseOnTitle();

    Devices devices;
    std::vector<ReplayEntry> replays;
    Screen current = Screen::TITLE;
    std::vector<Item> shown;
    int highlighted = 0;
    std::string level;
};

// The title screen's labels, in order.
extern const char* const kTitleItems[9];

}  // namespace menu
