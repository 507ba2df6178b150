#include "settings/SettingsFile.h"

#include "platform/Exception.h"
#include "settings/SettingKeys.h"
#include "text/Format.h"
#include "text/IntegerText.h"

namespace settings {

SettingsFile::SettingsFile(platform::Profile& profile, std::string path) : profile_(profile), path_(std::move(path)) {}

SettingsFile::~SettingsFile() { profile_.flush(path_); }

std::string SettingsFile::readString(const char* key, const std::string& def) {
    return profile_.readString(section, key, def, path_);
}

int32_t SettingsFile::readInteger(const char* key, int32_t def) {
    return text::strToIntDef(profile_.readString(section, key, "", path_), def);
}

bool SettingsFile::readBool(const char* key, bool def) { return readInteger(key, def ? 1 : 0) != 0; }

void SettingsFile::writeString(const char* key, const std::string& value) {
    if (!profile_.writeString(section, key, value, path_))
        throw platform::Exception(text::formatText("%s に書き込めません", path_));
}

void SettingsFile::writeInteger(const char* key, int32_t value) { writeString(key, text::intToStr(value)); }

void SettingsFile::writeBool(const char* key, bool value) { writeString(key, value ? "1" : "0"); }

} // namespace settings
