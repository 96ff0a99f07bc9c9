#pragma once
// The options that say who plays and for how long: --player1, --player2, --computer, --seed,
// --matches and --simulate, and how they go with --keyboard, --camera and --endless.
#include <string>

#include "app/config/options.h"

// What the command line named of the options whose default or meaning depends on the others:
// for each side, the option that named it (null: the side follows --keyboard).
struct NamedOptions {
    const char* player1 = nullptr;
    const char* player2 = nullptr;
    bool inputDelay = false;
};

// Reads argv[i] when it is one of these options, with its value (i then points at the last
// argument taken). False when it is none of them; when it is one but its value is wrong,
// `why` says so.
bool readPlayOption(int argc, const char* const* argv, int& i, Options& options,
                    NamedOptions& named, std::string& why);

// Gives the other machine's side of a network match to the network, the sides the command line
// did not name their default, and checks the options against each other: the fault, or empty
// when they agree.
std::string settleSides(Options& options, const NamedOptions& named);
