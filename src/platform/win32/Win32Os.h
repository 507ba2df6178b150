#pragma once
// The operating-system services on the Win32 profile, file, shell and other calls.
#include "platform/Os.h"

namespace platform::win32 {

class Win32Profile : public Profile {
public:
    std::string readString(const std::string& section, const std::string& key, const std::string& def,
                           const std::string& path) override;
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override;
    void flush(const std::string& path) override;
};

class Win32FileSystem : public FileSystem {
public:
    int32_t fileAge(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    bool setCurrentDirectory(const std::string& path) override;
    std::string fullPathName(const std::string& path) override;
    bool fileExistsUtf8(const std::string& utf8Path) override;
};

class Win32CodePage : public CodePage {
public:
    std::string fromUtf8(std::string_view utf8, bool* exact) override;
    std::string toUtf8(std::string_view text) override;
};

// Named mutexes of the session, waited for with the message queue in view.
class Win32SharedLocks : public SharedLocks {
public:
    std::unique_ptr<SharedLock> open(const std::string& name) override;
};

class Win32Shell : public Shell {
public:
    void execute(const std::string& operation, const std::string& file, const std::string& parameters,
                 const std::string& directory, ShowState show) override;
};

class Win32ProgramInfo : public ProgramInfo {
public:
    std::string executablePath() override;
    std::string commandLine() override;
};

} // namespace platform::win32
