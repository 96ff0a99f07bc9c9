// A settings file through the reader: whatever it holds, every setting comes back within its
// range, every key is one SDL names and no key does two things, and each complaint names the
// file. The text written for the defaults reads back without one.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/config/key_names.h"
#include "app/config/settings.h"
#include "app/config/settings_fields.h"
#include "tests/fuzz/fuzz_files.h"

namespace {

void checkInRange(Settings& settings) {
    std::set<int> keys;
    for (const SettingField& field : settingFields(settings)) {
        if (field.number && (*field.number < 0 || *field.number > field.most)) std::abort();
        if (field.key && (keyName(*field.key).empty() || !keys.insert(*field.key).second))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzfiles::write("vorlaxis.conf", data, size);
    std::vector<std::string> errors;
    Settings settings = readSettings(path, errors);
    checkInRange(settings);
    for (const std::string& error : errors)
        if (error.compare(0, path.size() + 1, path + ":") != 0) std::abort();

    static const bool defaultsReadBack = [] {
        const std::string text = defaultSettingsText();
        const std::string again = fuzzfiles::write(
            "defaults.conf", reinterpret_cast<const uint8_t*>(text.data()), text.size());
        std::vector<std::string> none;
        readSettings(again, none);
        return none.empty();
    }();
    if (!defaultsReadBack) std::abort();
    return 0;
}
