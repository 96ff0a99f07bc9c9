#include "app/replay/replay_files.h"

#include "app/config/options.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtension = ".vxr";

std::string setting(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : "";
}

// Only the names keptReplayName makes: digits and dashes, then the extension. Anything else
// in the folder is the player's and stays.
bool isKeptName(const std::string& name) {
    if (name.size() <= 16) return false;
    const size_t stem = name.size() - std::char_traits<char>::length(kExtension);
    if (name.compare(stem, std::string::npos, kExtension) != 0) return false;
    return std::all_of(name.begin(), name.begin() + static_cast<long>(stem),
                       [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

bool sameFile(const std::string& one, const std::string& other) {
    std::error_code ignored;
    return one == other || fs::equivalent(one, other, ignored);
}

}  // namespace

std::string keptReplayFolder() {
#ifdef _WIN32
    const std::string base = setting("APPDATA");
    if (base.empty()) return "";
    return (fs::path(base) / "Vorlaxis" / "replays").string();
#else
    std::string base = setting("XDG_DATA_HOME");
    if (base.empty() && !setting("HOME").empty())
        base = (fs::path(setting("HOME")) / ".local" / "share").string();
    if (base.empty()) return "";
    return (fs::path(base) / "vorlaxis" / "replays").string();
#endif
}

std::string keptReplayName(std::time_t when, unsigned long processId) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return std::string(stamp) + "-" + std::to_string(processId) + kExtension;
}

unsigned long thisProcessId() {
#ifdef _WIN32
    return static_cast<unsigned long>(_getpid());
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// The names start with the date and time: in name order, the oldest come first.
std::vector<std::string> keptReplays(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (isKeptName(name) && it->is_regular_file(error)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (std::string& name : names) name = (fs::path(folder) / name).string();
    return names;
}

void pruneKeptReplays(const std::string& folder, size_t keep) {
    const std::vector<std::string> kept = keptReplays(folder);
    std::error_code error;
    for (size_t i = 0; i + keep < kept.size(); ++i) fs::remove(kept[i], error);
}

std::string replayPathOf(const std::string& value, std::string& error) {
    if (value != "last") return absolutePath(value);
    const std::string folder = keptReplayFolder();
    const std::vector<std::string> kept =
        folder.empty() ? std::vector<std::string>() : keptReplays(folder);
    if (kept.empty())
        error = "no replay is kept" + (folder.empty() ? std::string() : " in " + folder);
    return kept.empty() ? "" : kept.back();
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error);
    return error ? path : absolute.lexically_normal().string();
}

bool resolveReplayPaths(Options& options) {
    if (!options.record.empty()) options.record = absolutePath(options.record);
    if (!options.recordCamera.empty()) options.recordCamera = absolutePath(options.recordCamera);
    if (options.replay.empty()) return true;
    std::string error;
    options.replayShown = options.replay == "last" ? "" : options.replay;
    options.replay = replayPathOf(options.replay, error);
    if (options.replayShown.empty()) options.replayShown = options.replay;
    if (!error.empty()) {
        std::fprintf(stderr, "vorlaxis: --replay last: %s\n", error.c_str());
        return false;
    }
    // Recording over the replay being watched would destroy it as it is read.
    if (sameFile(options.record, options.replay)) {
        std::fprintf(stderr, "vorlaxis: --record names the replay being watched, %s\n",
                     options.replay.c_str());
        return false;
    }
    return true;
}
