#include "app/config/settings_lines.h"

const char kByteOrderMark[4] = "\xef\xbb\xbf";

std::string trimmedSetting(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int settingControlByte(const std::string& line) {
    for (char c : line) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f) return byte;
    }
    return -1;
}

std::string settingNameOf(const std::string& line) {
    if (line.size() > kMostSettingLineLength || settingControlByte(line) >= 0) return "";
    const std::string text = trimmedSetting(line);
    const size_t equals = text.find('=');
    if (text.empty() || text[0] == '#' || equals == std::string::npos) return "";
    return trimmedSetting(text.substr(0, equals));
}
