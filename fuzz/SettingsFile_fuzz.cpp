// The settings readers over a value as the profile gives it (the input, cut to
// 2047 bytes): a string reads as it is, an integer as the strict conversion
// reads it or else the reader's default, a flag as that integer not being 0;
// an absent key gives each reader's default; and every integer and flag
// written reads back the same.
#include <cstring>
#include <map>

#include "FuzzSupport.h"
#include "features/StrToInt.h"
#include "platform/Exception.h"
#include "settings/SettingsFile.h"
#include "text/IntegerText.h"

namespace {
const std::string path = "C:\\Velumo\\Velumo.ini";
constexpr size_t longestValue = 2047;

class MemoryProfile : public platform::Profile {
public:
    std::map<std::string, std::string> values; // "section/key" of the one settings file
    int flushCount = 0;

    std::string readString(const std::string& section, const std::string& key, const std::string& def,
                           const std::string& file) override {
        FUZZ_CHECK(file == path);
        const auto found = values.find(section + "/" + key);
        return found == values.end() ? def : found->second.substr(0, longestValue);
    }
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) override {
        FUZZ_CHECK(file == path);
        values[section + "/" + key] = value;
        return true;
    }
    void flush(const std::string& file) override {
        FUZZ_CHECK(file == path);
        ++flushCount;
    }
};

std::optional<int32_t> strictValue(const std::string& text) {
    try {
        return strToInt(text);
    } catch (const platform::Exception&) {
        return std::nullopt;
    }
}

int32_t integerIn(const std::string& input) {
    int32_t value = 0;
    std::memcpy(&value, input.data(), std::min(sizeof value, input.size()));
    return value;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string value = fuzz::inputText(data, size);
    const std::string stored = value.substr(0, longestValue);
    MemoryProfile profile;
    profile.values[std::string("Option/Value")] = value;
    {
        settings::SettingsFile settings(profile, path);
        FUZZ_CHECK(settings.read(settings::Text{"Absent", value.c_str()}) == std::string(value.c_str()));
        FUZZ_CHECK(settings.read(settings::Integer{"Absent", -8}) == -8);
        FUZZ_CHECK(settings.read(settings::Flag{"Absent", true}) && !settings.read(settings::Flag{"Absent", false}));

        const std::optional<int32_t> converted = strictValue(stored);
        FUZZ_CHECK(settings.read(settings::Text{"Value", "default"}) == stored);
        FUZZ_CHECK(settings.read(settings::Integer{"Value", 7}) == converted.value_or(7));
        FUZZ_CHECK(settings.read(settings::Integer{"Value", -8}) == converted.value_or(-8));
        for (bool def : {false, true})
            FUZZ_CHECK(settings.read(settings::Flag{"Value", def}) == (converted ? *converted != 0 : def));

        const int32_t number = integerIn(value);
        settings.write(settings::Integer{"Number", 0}, number);
        FUZZ_CHECK(settings.read(settings::Integer{"Number", number ^ 1}) == number);
        for (bool flag : {false, true}) {
            settings.write(settings::Flag{"Flag", false}, flag);
            FUZZ_CHECK(settings.read(settings::Flag{"Flag", !flag}) == flag);
        }
        settings.write(settings::Text{"Text", ""}, value);
        FUZZ_CHECK(settings.read(settings::Text{"Text", ""}) == stored);
    }
    FUZZ_CHECK(profile.flushCount == 1);
    return 0;
}
