#pragma once
// Where played runs are kept when no --record file is named: one replay per run in the
// player's data folder, named by date, time and process id so that names sort by age, and
// only the newest few kept.
#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

// Replays kept before the oldest go.
constexpr size_t kKeptReplays = 20;

// $XDG_DATA_HOME/vorlaxis/replays, else $HOME/.local/share/vorlaxis/replays (on Windows
// %APPDATA%\Vorlaxis\replays); empty when none of the variables is set.
std::string keptReplayFolder();

// "20261207-184512-4242.vxr": local date and time, then the process id.
std::string keptReplayName(std::time_t when, unsigned long processId);

// The process id of this run, for keptReplayName.
unsigned long thisProcessId();

// The kept replays of `folder`, oldest first (files named as keptReplayName makes them).
std::vector<std::string> keptReplays(const std::string& folder);

// Removes the oldest kept replays of `folder` so that at most `keep` remain.
void pruneKeptReplays(const std::string& folder, size_t keep);

// A --replay value: "last" is the newest kept replay, any other path is made absolute (the
// game reads its data from another folder). Empty, with `error` set, when there is none.
std::string replayPathOf(const std::string& value, std::string& error);

// `path` made absolute from the working directory.
std::string absolutePath(const std::string& path);

// Makes the replay options' paths absolute and finds "last"; call before the game changes
// into its data folder. False after saying why there is no such replay.
struct Options;
bool resolveReplayPaths(Options& options);
