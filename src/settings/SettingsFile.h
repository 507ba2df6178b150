#pragma once
// One access to the settings file, held for the span of one command. It holds
// only the path: every read looks at the file as it is at that moment, and
// there is no cache. Releasing (the destructor) flushes the platform's copy.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/Os.h"
#include "settings/Settings.h"

namespace settings {

class SettingsFile {
public:
    SettingsFile(platform::Profile& profile, std::string path);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // A missing key, or an integer or flag whose text does not convert, reads as the default.
    std::string read(const Text& setting);
    int32_t read(const Integer& setting);
    bool read(const Flag& setting);

    // Each raises "%s に書き込めません" (the settings path for %s) when refused.
    // Integers are stored in decimal, flags as "1" or "0".
    void write(const Text& setting, const std::string& value);
    void write(const Integer& setting, int32_t value);
    void write(const Flag& setting, bool value);

private:
    platform::Profile& profile_;
    std::string path_;
};

// The one door through which the windows and the features reach the settings
// file: each command opens its own access for its own span.
class SettingsStore {
public:
    SettingsStore(platform::Profile& profile, std::string path) : profile_(profile), path_(std::move(path)) {}
    SettingsFile open() const { return {profile_, path_}; }
    const std::string& path() const { return path_; }

private:
    platform::Profile& profile_;
    std::string path_;
};

} // namespace settings
