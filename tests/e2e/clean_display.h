// Each whole-program test starts on the shared X server as a fresh one would be: no game of an
// earlier test still running, none of its windows left, no xdotool of it still waiting, and no
// key or button held down. A test that ends early (a failed assertion between a keydown and its
// keyup, ctest's timeout killing it mid-sequence) would otherwise hand a held Escape or a stray
// window to every test after it. What had to be cleaned is said on standard error, so that the
// test which left it can be found in the log.
#pragma once

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/game_process.h"

namespace e2e {

namespace cleaning {

inline std::string exeOf(pid_t pid) {
    char target[PATH_MAX];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : "";
}

inline std::string commOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

// The X display a process was started on, from its environment; empty if none or unreadable.
inline std::string displayOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/environ", std::ios::binary);
    std::string entry;
    while (std::getline(in, entry, '\0'))
        if (entry.rfind("DISPLAY=", 0) == 0) return entry.substr(8);
    return "";
}

// The processes running the game or xdotool on this test's X server, other than this test;
// another test run's, on another server, are left alone.
inline std::vector<pid_t> leftoverProcesses() {
    const char* display = std::getenv("DISPLAY");
    const std::string ours = display ? display : "";
    char resolved[PATH_MAX];
    const std::string game = ::realpath(gamePath().c_str(), resolved) ? resolved : gamePath();
    std::vector<pid_t> found;
    DIR* proc = ::opendir("/proc");
    if (!proc) return found;
    while (dirent* entry = ::readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0 || pid == ::getpid()) continue;
        if ((exeOf(pid) == game || commOf(pid) == "xdotool") && displayOf(pid) == ours)
            found.push_back(pid);
    }
    ::closedir(proc);
    return found;
}

inline void killLeftovers() {
    const std::vector<pid_t> left = leftoverProcesses();
    for (pid_t pid : left) {
        std::fprintf(stderr, "clean display: killing leftover %s (pid %d)\n", commOf(pid).c_str(),
                     static_cast<int>(pid));
        ::kill(pid, SIGKILL);
    }
    if (!left.empty())
        testwait::waitUntil([] { return leftoverProcesses().empty(); }, kReactSeconds);
}

// Releases, through xdotool's XTEST, every key and pointer button the server holds down.
inline void releaseHeld() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    char keys[32];
    XQueryKeymap(display, keys);
    std::vector<std::string> up;
    for (int code = 8; code < 256; ++code) {
        if (!(keys[code / 8] & (1 << (code % 8)))) continue;
        const KeySym sym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(code), 0, 0);
        const char* name = sym == NoSymbol ? nullptr : XKeysymToString(sym);
        if (name) up.push_back(std::string("keyup ") + name);
    }
    Window root, child;
    int x, y, wx, wy;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask);
    XCloseDisplay(display);
    for (int button = 1; button <= 5; ++button)
        if (mask & (Button1Mask << (button - 1)))
            up.push_back("mouseup " + std::to_string(button));
    for (const std::string& command : up) {
        std::fprintf(stderr, "clean display: %s, held since an earlier test\n", command.c_str());
        capture("xdotool " + command + " 2>/dev/null");
    }
}

}  // namespace cleaning

inline void cleanDisplay() {
    cleaning::killLeftovers();
    cleaning::releaseHeld();
    const auto noGameWindow = [] {
        return findWindow(kPanelCaption).empty() && findWindow(kSceneCaption).empty();
    };
    if (!testwait::waitUntil(noGameWindow, kReactSeconds))
        std::fprintf(stderr, "clean display: a game window stayed on the server\n");
}

}  // namespace e2e
