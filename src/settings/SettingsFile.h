#pragma once
// One access to the settings file, held for the span of one command. It holds
// only the path: every read looks at the file as it is at that moment, and
// there is no cache. Releasing (the destructor) flushes the platform's copy.
#include <cstdint>
#include <string>

#include "platform/Os.h"

namespace settings {

class SettingsFile {
public:
    SettingsFile(platform::Profile& profile, std::string path);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    std::string readString(const char* key, const std::string& def);
    int32_t readInteger(const char* key, int32_t def);
    bool readBool(const char* key, bool def);

    // Each raises "%s に書き込めません" (the settings path for %s) when refused.
    void writeString(const char* key, const std::string& value);
    void writeInteger(const char* key, int32_t value);
    void writeBool(const char* key, bool value);

private:
    platform::Profile& profile_;
    std::string path_;
};

} // namespace settings
