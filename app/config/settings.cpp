#include "app/config/settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "app/config/key_names.h"
#include "app/config/settings_fields.h"
#include "app/config/settings_lines.h"
#include "app/config/settings_writer.h"

namespace {

namespace fs = std::filesystem;

// Bounds that keep a damaged or wrongly named file (a disk image, /dev/zero) from eating
// memory or time: a real settings file is a few hundred bytes.
constexpr size_t kMostFileBytes = kMostSettingsBytes;
// A file that is no settings file at all would otherwise bury the terminal in complaints.
constexpr int kMostComplaints = 20;

const char* const kHeader =
    "# Vorlaxis settings: one \"name = value\" on a line; lines starting with # are comments.\n"
    "# A setting left out keeps the value shown here; the command line wins over this file.\n"
    "\n";

class Reader {
public:
    Reader(const std::string& path, std::vector<std::string>& errors)
        : path_(path), errors_(errors), fields_(settingFields(settings_)) {}

    Settings read(const std::string& bytes) {
        if (bytes.size() > kMostFileBytes)
            complain(0, "longer than " + std::to_string(kMostFileBytes >> 20) +
                            " MiB: only its beginning is read");
        size_t start = bytes.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
        for (int number = 1; start < std::min(bytes.size(), kMostFileBytes); ++number) {
            size_t end = std::min(bytes.find('\n', start), std::min(bytes.size(), kMostFileBytes));
            std::string line = bytes.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            readLine(number, line);
            start = end + 1;
        }
        keepKeysApart();
        if (complaints_ > kMostComplaints)
            errors_.push_back(path_ + ": " + std::to_string(complaints_ - kMostComplaints) +
                              " more wrong lines are not listed");
        return settings_;
    }

    void complain(int line, const std::string& what) {
        if (++complaints_ > kMostComplaints) return;
        errors_.push_back(path_ + (line ? ":" + std::to_string(line) : "") + ": " + what);
    }

private:
    void readLine(int number, const std::string& line) {
        if (line.size() > kMostSettingLineLength)
            return complain(number, "longer than " + std::to_string(kMostSettingLineLength) +
                                        " characters: not a settings line");
        if (const int byte = settingControlByte(line); byte >= 0) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%02x", byte);
            return complain(number, std::string("holds the control character ") + code +
                                        ": not a settings line");
        }
        const std::string text = trimmedSetting(line);
        if (text.empty() || text[0] == '#') return;
        const size_t equals = text.find('=');
        if (equals == std::string::npos)
            return complain(number, "no '=': a setting is written as 'name = value'");
        const std::string name = trimmedSetting(text.substr(0, equals));
        const std::string value = trimmedSetting(text.substr(equals + 1));
        size_t index = 0;
        while (index < fields_.size() && name != fields_[index].name) ++index;
        if (index == fields_.size()) return complain(number, "unknown setting '" + name + "'");
        set(number, index, value);
    }

    void set(int number, size_t index, const std::string& value) {
        const SettingField& field = fields_[index];
        const std::string name = field.name;
        if (lineOf(index))
            return complain(number, "'" + name + "' is already set on line " +
                                        std::to_string(lineOf(index)) + "; this line is ignored");
        std::string problem;
        if (!setField(field, value, problem))
            return complain(number, "'" + name + "' must be " + problem + ", not '" + value +
                                        "'; it stays " + fieldText(field));
        setOn_[index] = number;
    }

    // One key doing two things would leave one of them out of reach: the setting named later
    // in the file goes back to its default until no key is shared.
    void keepKeysApart() {
        for (bool clash = true; clash;) {
            clash = false;
            for (size_t a = 0; a < fields_.size() && !clash; ++a)
                for (size_t b = a + 1; b < fields_.size() && !clash; ++b)
                    clash = fields_[a].key && fields_[b].key &&
                            *fields_[a].key == *fields_[b].key && undoLater(a, b);
        }
    }

    bool undoLater(size_t a, size_t b) {
        const size_t later = lineOf(a) > lineOf(b) ? a : b;
        const size_t other = later == a ? b : a;
        const SettingField& field = fields_[later];
        *field.key = *settingFields(defaults_)[later].key;
        complain(lineOf(later), "key '" + keyName(*fields_[other].key) + "' is already " +
                                    fields_[other].name + "; '" + field.name + "' stays " +
                                    fieldText(field));
        setOn_.erase(later);
        return true;
    }

    int lineOf(size_t index) const {
        const auto found = setOn_.find(index);
        return found == setOn_.end() ? 0 : found->second;
    }

    std::string path_;
    std::vector<std::string>& errors_;
    Settings settings_;
    Settings defaults_;
    std::vector<SettingField> fields_;
    // The line that set each field, by its index; a field not in it has its default.
    std::map<size_t, int> setOn_;
    int complaints_ = 0;
};

}  // namespace

std::string settingsPath() {
#ifdef _WIN32
    const char* appData = std::getenv("APPDATA");
    return appData && *appData ? std::string(appData) + "\\Vorlaxis\\vorlaxis.conf" : "";
#else
    // A relative XDG_CONFIG_HOME is to be ignored, as the XDG base directory rules say.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/vorlaxis/vorlaxis.conf";
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.config/vorlaxis/vorlaxis.conf" : "";
#endif
}

Settings readSettings(const std::string& path, std::vector<std::string>& errors) {
    Reader reader(path, errors);
    std::string bytes, why;
    switch (path.empty() ? SettingsOpened::MISSING : slurpSettings(path, bytes, why)) {
    case SettingsOpened::MISSING: return Settings();
    case SettingsOpened::FAILED:
        reader.complain(0, "cannot be read (" + why + "): using the default settings");
        return Settings();
    case SettingsOpened::READ: break;
    }
    return reader.read(bytes);
}

std::string defaultSettingsText() {
    Settings defaults;
    std::string text = kHeader;
    for (const SettingField& field : settingFields(defaults)) {
        if (field.comment) text += field.comment;
        text += settingLine(field) + "\n";
    }
    return text;
}

bool writeDefaultSettings(const std::string& path, bool overwrite, std::string& error) {
    if (path.empty()) {
        error = "no folder for the settings: set HOME or XDG_CONFIG_HOME, or give --config FILE";
        return false;
    }
    std::error_code code;
    if (!overwrite && fs::exists(path, code)) {
        error = path + " already exists and is left as it is (--force overwrites it)";
        return false;
    }
    return replaceSettingsFile(path, defaultSettingsText(), error);
}
