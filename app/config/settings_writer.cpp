#include "app/config/settings_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "app/config/settings_fields.h"
#include "app/config/settings_lines.h"

namespace {

namespace fs = std::filesystem;

const char* const kNoFolder =
    "no folder for the settings: set HOME or XDG_CONFIG_HOME, or give --config FILE";

std::string cannotSave(const std::string& path, const std::string& why) {
    return "cannot save the settings in " + path + " (" + why + ")";
}

// Where the file's bytes really go: a link made by a dotfile manager stays a link.
fs::path linkTarget(const fs::path& path) {
    std::error_code code;
    if (!fs::is_symlink(path, code)) return path;
    const fs::path target = fs::read_symlink(path, code);
    if (code) return path;
    return target.is_absolute() ? target : path.parent_path() / target;
}

// Writes and flushes `text` to the disk; the system's reason when it could not.
bool writeWhole(const fs::path& path, const std::string& text, std::string& why) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file) {
        why = std::strerror(errno);
        return false;
    }
    bool written =
        std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
#ifndef _WIN32
    // The rename must not reach the disk before the bytes it brings in.
    written = written && fsync(fileno(file)) == 0;
#endif
    if (!written) why = std::strerror(errno);
    if (std::fclose(file) != 0 && written) {
        why = std::strerror(errno);
        written = false;
    }
    return written;
}

// The line end the file already uses, for the lines added to it.
std::string lineEnd(const std::string& text) {
    const size_t end = text.find('\n');
    return end != std::string::npos && end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
}

class Changes {
public:
    Changes(const Settings& before, const Settings& after)
        : before_(before), after_(after), fields_(settingFields(after_)) {
        const std::vector<SettingField> old = settingFields(before_);
        for (size_t i = 0; i < fields_.size(); ++i)
            if (fieldText(old[i]) != fieldText(fields_[i])) pending_.insert(i);
    }

    bool none() const { return pending_.empty(); }

    // The changed setting `line` names and has not been written yet; false for any other.
    bool takes(const std::string& line, std::string& written) {
        const std::string name = settingNameOf(line);
        for (size_t index : pending_) {
            if (name != fields_[index].name) continue;
            written = settingLine(fields_[index]);
            pending_.erase(index);
            return true;
        }
        return false;
    }

    // The lines of the changed settings no line named.
    std::string rest(const std::string& end) const {
        std::string lines;
        for (size_t index : pending_) lines += settingLine(fields_[index]) + end;
        return lines;
    }

private:
    Settings before_, after_;
    std::vector<SettingField> fields_;
    std::set<size_t> pending_;
};

}  // namespace

SettingsOpened slurpSettings(const std::string& path, std::string& bytes, std::string& why) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        why = std::strerror(errno);
        return errno == ENOENT ? SettingsOpened::MISSING : SettingsOpened::FAILED;
    }
    bytes.resize(kMostSettingsBytes + 1);
    bytes.resize(std::fread(&bytes[0], 1, bytes.size(), file));
    const bool failed = std::ferror(file);
    if (failed) why = std::strerror(errno);
    std::fclose(file);
    return failed ? SettingsOpened::FAILED : SettingsOpened::READ;
}

bool replaceSettingsFile(const std::string& path, const std::string& text, std::string& error) {
    if (path.empty()) {
        error = kNoFolder;
        return false;
    }
    const fs::path target = linkTarget(path);
    std::error_code code;
    if (!target.parent_path().empty()) fs::create_directories(target.parent_path(), code);
    // Written beside it first, so that a full disk never leaves half a file in its place.
    fs::path partial = target;
    partial += ".new";
    std::string why;
    if (!writeWhole(partial, text, why)) {
        fs::remove(partial, code);
        error = cannotSave(path, why);
        return false;
    }
    // A file kept private stays private.
    const fs::file_status old = fs::status(target, code);
    if (!code && fs::is_regular_file(old)) fs::permissions(partial, old.permissions(), code);
    // On Windows too the rename replaces the file (MoveFileExW with MOVEFILE_REPLACE_EXISTING).
    fs::rename(partial, target, code);
    if (code) {
        fs::remove(partial, code);
        error = cannotSave(path, code.message());
        return false;
    }
    return true;
}

std::string changedSettingsText(const std::string& text, const Settings& before,
                                const Settings& after) {
    Changes changes(before, after);
    if (changes.none()) return text;
    std::string out;
    for (size_t start = 0; start < text.size();) {
        const size_t found = text.find('\n', start);
        const size_t end = found == std::string::npos ? text.size() : found;
        const size_t next = found == std::string::npos ? text.size() : found + 1;
        std::string line = text.substr(start, end - start);
        const bool cr = !line.empty() && line.back() == '\r';
        if (cr) line.pop_back();
        const bool bom = start == 0 && line.compare(0, 3, kByteOrderMark) == 0;
        if (bom) line.erase(0, 3);
        std::string written;
        if (changes.takes(line, written))
            out += (bom ? kByteOrderMark : "") + written + (cr ? "\r" : "") +
                   text.substr(end, next - end);
        else
            out += text.substr(start, next - start);
        start = next;
    }
    const std::string end = lineEnd(text);
    const std::string added = changes.rest(end);
    if (!added.empty() && !out.empty() && out.back() != '\n') out += end;
    return out + added;
}

bool saveSettingsChanges(const std::string& path, const Settings& before, const Settings& after,
                         std::string& error) {
    std::string bytes, why;
    switch (path.empty() ? SettingsOpened::MISSING : slurpSettings(path, bytes, why)) {
    case SettingsOpened::MISSING:
        return replaceSettingsFile(
            path, changedSettingsText(defaultSettingsText(), Settings(), after), error);
    case SettingsOpened::FAILED: error = cannotSave(path, why); return false;
    case SettingsOpened::READ: break;
    }
    if (bytes.size() > kMostSettingsBytes) {
        error = cannotSave(path, "longer than 1 MiB, it is left as it is");
        return false;
    }
    const std::string text = changedSettingsText(bytes, before, after);
    return text == bytes || replaceSettingsFile(path, text, error);
}
