#include "app/config/key_names.h"

#include <array>
#include <cctype>
#include <map>

namespace {

struct Named {
    int key;
    const char* name;
};

// SDL 1.2's names beyond the printable ASCII keys, the 96 "world" keys, the keypad digits and
// the function keys, which follow patterns.
const Named kSpecial[] = {
    {SDLK_BACKSPACE, "backspace"},
    {SDLK_TAB, "tab"},
    {SDLK_CLEAR, "clear"},
    {SDLK_RETURN, "return"},
    {SDLK_PAUSE, "pause"},
    {SDLK_ESCAPE, "escape"},
    {SDLK_SPACE, "space"},
    {SDLK_DELETE, "delete"},
    {SDLK_KP_PERIOD, "[.]"},
    {SDLK_KP_DIVIDE, "[/]"},
    {SDLK_KP_MULTIPLY, "[*]"},
    {SDLK_KP_MINUS, "[-]"},
    {SDLK_KP_PLUS, "[+]"},
    {SDLK_KP_ENTER, "enter"},
    {SDLK_KP_EQUALS, "equals"},
    {SDLK_UP, "up"},
    {SDLK_DOWN, "down"},
    {SDLK_RIGHT, "right"},
    {SDLK_LEFT, "left"},
    {SDLK_INSERT, "insert"},
    {SDLK_HOME, "home"},
    {SDLK_END, "end"},
    {SDLK_PAGEUP, "page up"},
    {SDLK_PAGEDOWN, "page down"},
    {SDLK_NUMLOCK, "numlock"},
    {SDLK_CAPSLOCK, "caps lock"},
    {SDLK_SCROLLOCK, "scroll lock"},
    {SDLK_RSHIFT, "right shift"},
    {SDLK_LSHIFT, "left shift"},
    {SDLK_RCTRL, "right ctrl"},
    {SDLK_LCTRL, "left ctrl"},
    {SDLK_RALT, "right alt"},
    {SDLK_LALT, "left alt"},
    {SDLK_RMETA, "right meta"},
    {SDLK_LMETA, "left meta"},
    {SDLK_LSUPER, "left super"},
    {SDLK_RSUPER, "right super"},
    {SDLK_MODE, "alt gr"},
    {SDLK_COMPOSE, "compose"},
    {SDLK_HELP, "help"},
    {SDLK_PRINT, "print screen"},
    {SDLK_SYSREQ, "sys req"},
    {SDLK_BREAK, "break"},
    {SDLK_MENU, "menu"},
    {SDLK_POWER, "power"},
    {SDLK_EURO, "euro"},
    {SDLK_UNDO, "undo"},
};

// The printable ASCII keys SDL has, named by their own character.
const char kPrintable[] = "!\"#$&'()*+,-./0123456789:;<=>?@[\\]^_`abcdefghijklmnopqrstuvwxyz";

struct Table {
    std::array<std::string, SDLK_LAST> names;
    std::map<std::string, SDLKey> keys;

    void add(int key, const std::string& name) {
        names[key] = name;
        keys.emplace(name, static_cast<SDLKey>(key));
    }

    Table() {
        for (const char* c = kPrintable; *c; ++c) add(static_cast<unsigned char>(*c), {*c});
        for (int i = 0; i <= SDLK_WORLD_95 - SDLK_WORLD_0; ++i)
            add(SDLK_WORLD_0 + i, "world " + std::to_string(i));
        for (int i = 0; i <= 9; ++i) add(SDLK_KP0 + i, "[" + std::to_string(i) + "]");
        for (int i = 0; i <= SDLK_F15 - SDLK_F1; ++i) add(SDLK_F1 + i, "f" + std::to_string(i + 1));
        for (const Named& named : kSpecial) add(named.key, named.name);
    }
};

const Table& table() {
    static const Table built;
    return built;
}

}  // namespace

SDLKey keyByName(const std::string& name) {
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto found = table().keys.find(lower);
    return found == table().keys.end() ? SDLK_UNKNOWN : found->second;
}

std::string keyName(SDLKey key) {
    if (key <= SDLK_UNKNOWN || key >= SDLK_LAST) return "";
    return table().names[key];
}
