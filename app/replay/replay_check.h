#pragma once
// Checking a replay: its turns stepped through the rules with no window, sound or camera, as
// fast as they go, every stored hash held against the state reached.
#include <string>

// Plays the replay at `path` (named `shown` in what it prints) and prints its verdict: the
// turns, matches and agreeing checkpoints with the final state's hash, or the first turn that
// differs, or what is wrong with the file. Returns the exit code: 0 when every checkpoint
// agrees (also for a file cut short, which says where it ends), 1 otherwise.
int checkReplay(const std::string& shown, const std::string& path);
