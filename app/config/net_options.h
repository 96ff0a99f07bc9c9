#pragma once
// The options of a match against another machine: --host [PORT], --join ADDRESS[:PORT] and
// --input-delay N, and what cannot go with them: naming the other machine's side, and on the
// joiner whatever the host decides for both.
#include <string>

#include "app/config/options.h"
#include "app/config/play_options.h"

// Reads argv[i] when it is one of these options, with its value (i then points at the last
// argument taken). False when it is none of them; when it is one but its value is wrong, or it
// asks for the other role as well, `why` says so.
bool readNetOption(int argc, const char* const* argv, int& i, Options& options, NamedOptions& named,
                   std::string& why);

// What the command line asks that a network match cannot do (or --input-delay without one);
// empty when nothing.
std::string netConflict(const Options& options, const NamedOptions& named);

// Gives the other machine's side to the network and counts it as named, so that it follows
// neither --keyboard nor the camera.
void placeNetworkSide(Options& options, NamedOptions& named);

// Both machines play the turns at one steady pace: a host's turn rate of 0 (as fast as each
// machine draws) cannot be it. Empty when the rate will do.
std::string netTurnRateFault(const Options& options, const std::string& whose);
