#pragma once
// What the menu shows and where a choice leads, without a window: the screens, their items,
// the highlighted one, the line being typed, and the run a finished choice asks for (as
// command-line options).
#include <string>
#include <vector>

namespace menu {

enum class Screen { TITLE, LEVEL, INPUT, PAIR, REPLAYS, HOST_PORT, JOIN_ADDRESS, PAGE };

struct Item {
    std::string label;
    // Why the item cannot work; empty when it can be chosen.
    std::string reason;
    // The replay file an item of the replay list plays.
    std::string file;
    // What a setting is set to, shown at the row's right end; empty for the other screens.
    std::string value = "";
};

// What the machine has, decided before the menu shows.
struct Devices {
    bool camera = false;
    int gamepads = 0;
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

// A screen kept by another object (the settings): the menu shows its heading and rows, hands
// it the choices and the keys, and goes back to the title on Escape unless the page takes it.
class MenuPage {
public:
    virtual ~MenuPage() = default;
    virtual std::string heading() const = 0;
    virtual std::vector<Item> rows() const = 0;
    // Enter or a click on a row.
    virtual void choose(int row) = 0;
    // A key while the page is open (SDL's key code, its character or 0, and the highlighted
    // row); true when the page took it (a key being set), so that the menu does not act on it.
    virtual bool takeKey(int key, char text, int row) {
        (void)key;
        (void)text;
        (void)row;
        return false;
    }
    // What to tell the player under the rows (a change that could not be saved); empty for
    // nothing.
    virtual std::string notice() const { return ""; }
};

class MenuModel {
public:
    // `joinAddress`: the address the Join screen starts with (the one used last time).
    MenuModel(Devices devices, std::vector<ReplayEntry> replays, std::string joinAddress = "");

    // The title item `label` opens `page` (which outlives the model) instead of its reason.
    void attach(const std::string& label, MenuPage& page);

    Screen screen() const { return current; }
    std::string heading() const;
    const std::vector<Item>& items() const { return shown; }
    int highlight() const { return highlighted; }
    // Whether the screen has a line the player types (the port, the address).
    bool typing() const { return current == Screen::HOST_PORT || current == Screen::JOIN_ADDRESS; }
    const std::string& joinAddress() const { return address; }
    // The open page's notice, empty on the other screens.
    std::string notice() const { return current == Screen::PAGE && page ? page->notice() : ""; }

    // Moves the highlight by `delta` rows, wrapping round.
    void move(int delta);
    // Puts the highlight on a row (the mouse over it); rows out of range change nothing.
    void point(int row);
    // Enter, a click, button 0: chooses the highlighted item.
    Outcome choose();
    // Escape, button 1: the screen before, or the end of the game from the title screen.
    Outcome back();
    // A key that is not the menu's own (SDL's key code and its character, or 0): typed into
    // the line of the screen, or handed to an attached page. True when it was taken.
    bool type(int key, char text);

private:
    void open(Screen screen);
    void refresh();
    Outcome chooseOnTitle();
    Outcome chooseLine();

    Devices devices;
    std::vector<ReplayEntry> replays;
    Screen current = Screen::TITLE;
    std::vector<Item> shown;
    int highlighted = 0;
    std::string level;
    std::string port;
    std::string address;
    struct Attached {
        std::string label;
        MenuPage* page;
    };
    std::vector<Attached> pages;
    MenuPage* page = nullptr;
};

// The title screen's labels, in order.
extern const char* const kTitleItems[9];

}  // namespace menu
