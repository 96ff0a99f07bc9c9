#pragma once
// The options that say who plays and for how long: --player1, --player2, --computer, --seed,
// --matches and --simulate, and how they go with --keyboard, --camera and --endless.
#include <string>

#include "app/options.h"

// Which sides the command line named; the others follow --keyboard.
struct NamedSides {
    bool player1 = false;
    bool player2 = false;
};

// Reads argv[i] when it is one of these options, with its value (i then points at the last
// argument taken). False when it is none of them; when it is one but its value is wrong,
// `why` says so.
bool readPlayOption(int argc, const char* const* argv, int& i, Options& options, NamedSides& named,
                    std::string& why);

// Gives the sides the command line did not name their default and checks the options against
// each other: the fault, or empty when they agree.
std::string settleSides(Options& options, const NamedSides& named);
