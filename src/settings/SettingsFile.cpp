#include "settings/SettingsFile.h"

#include "platform/Exception.h"
#include "text/Format.h"
#include "text/IntegerText.h"

namespace settings {

SettingsFile::SettingsFile(platform::Profile& profile, std::string path) : profile_(profile), path_(std::move(path)) {}

SettingsFile::~SettingsFile() { profile_.flush(path_); }

std::string SettingsFile::read(const Text& setting) {
    return profile_.readString(section, setting.key, setting.byDefault, path_);
}

int32_t SettingsFile::read(const Integer& setting) {
    return text::strToIntDef(profile_.readString(section, setting.key, "", path_), setting.byDefault);
}

bool SettingsFile::read(const Flag& setting) { return read(Integer{setting.key, setting.byDefault ? 1 : 0}) != 0; }

void SettingsFile::write(const Text& setting, const std::string& value) {
    if (!profile_.writeString(section, setting.key, value, path_))
        throw platform::Exception(text::formatText("%s に書き込めません", path_));
}

void SettingsFile::write(const Integer& setting, int32_t value) { write(Text{setting.key, ""}, text::intToStr(value)); }

void SettingsFile::write(const Flag& setting, bool value) { write(Text{setting.key, ""}, value ? "1" : "0"); }

} // namespace settings
