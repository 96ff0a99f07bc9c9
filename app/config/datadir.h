#pragma once
// The game reads its data files by bare name from the working directory. An installed game is
// started from anywhere, so before anything is read it moves into the folder holding the data.
#include <string>
#include <vector>

// The folders that may hold the data, in the order they are tried after the working directory:
// VORLAXIS_DATA alone when it is set and not empty (an explicit choice is never second-guessed);
// otherwise the installed share/vorlaxis or share/games/vorlaxis next to the executable's folder,
// the executable's own folder, then the build tree's data folder.
std::vector<std::string> dataFolderCandidates(const char* dataSetting,
                                              const std::string& executable);

// True when `folder` holds any of a few files that only the data generator writes.
bool holdsGameData(const std::string& folder);

// Stays in the working directory when it holds the data or changes into the first candidate
// that does; a camera path must be settled first (chooseCamera). When none does, prints one message
// naming every place looked and returns false.
bool enterDataFolder();
