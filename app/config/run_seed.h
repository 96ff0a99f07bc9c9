#pragma once
// The seed of everything random in a run: the one given with --seed, else a fresh one. A run
// in which the computer plays says which, so that a surprising match can be played again.
#include <cstdint>

#include "app/config/options.h"

uint64_t chooseSeed(const Options& options);
// Prints "seed N" when the computer plays a side.
void announceSeed(const Options& options, uint64_t seed);
