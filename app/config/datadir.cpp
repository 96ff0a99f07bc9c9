#include "app/config/datadir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/win32.h"

namespace fs = std::filesystem;

namespace {

// One file of each kind the generator writes: keyframes, pictures, sound. A folder with any of
// them is the player's data, even damaged: its own messages then name what is missing or
// broken, where moving on to another folder would hide the damage.
const char* const kDataMarkers[] = {"Punch00.txt", "earthmap1k.bmp", "music.ogg"};

std::string executablePath() {
    char path[4096];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return "";
    return path;
}

std::string placesLooked(const std::string& start, const std::vector<std::string>& candidates) {
    std::string places = start + " (the working directory)";
    for (const std::string& folder : candidates) places += ", " + folder;
    return places;
}

}  // namespace

std::vector<std::string> dataFolderCandidates(const char* dataSetting,
                                              const std::string& executable) {
    if (dataSetting && *dataSetting) return {dataSetting};
    std::vector<std::string> folders;
    if (executable.empty()) return folders;
    const fs::path bin = fs::path(executable).parent_path();
    const fs::path prefix = bin.parent_path();
    for (const fs::path& folder : {prefix / "share" / "vorlaxis",
                                   prefix / "share" / "games" / "vorlaxis", bin, prefix / "data"})
        folders.push_back(folder.lexically_normal().string());
    return folders;
}

bool holdsGameData(const std::string& folder) {
    std::error_code error;
    for (const char* marker : kDataMarkers)
        if (fs::is_regular_file(fs::path(folder) / marker, error)) return true;
    return false;
}

bool enterDataFolder() {
    std::error_code error;
    const std::string start = fs::current_path(error).string();
    if (!error && holdsGameData(start)) return true;
    const std::vector<std::string> candidates =
        dataFolderCandidates(std::getenv("VORLAXIS_DATA"), executablePath());
    for (const std::string& folder : candidates) {
        if (!holdsGameData(folder)) continue;
        fs::current_path(folder, error);
        if (!error) return true;
        std::fprintf(stderr, "Unable to enter the game data folder %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return false;
    }
    std::fprintf(stderr,
                 "Unable to find the game data (%s and the other data files): looked in %s; "
                 "set VORLAXIS_DATA to the folder that holds them\n",
                 kDataMarkers[0], placesLooked(start, candidates).c_str());
    return false;
}
