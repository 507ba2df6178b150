#pragma once
// Operating-system services other than windows and controls. All texts and
// paths are byte strings in the system code page (932).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Dde.h"
#include "platform/Desktop.h"
#include "platform/Processes.h"

namespace platform {

// The profile (INI file) service.
class Profile {
public:
    virtual ~Profile() = default;
    // The stored value, or def when the file, the section or the key is
    // absent; at most 2047 bytes, as through a 2048-byte buffer.
    virtual std::string readString(const std::string& section, const std::string& key, const std::string& def,
                                   const std::string& path) = 0;
    // Stores the value, creating file, section and key as needed; false when refused.
    [[nodiscard]] virtual bool writeString(const std::string& section, const std::string& key, const std::string& value,
                                           const std::string& path) = 0;
    // Writes out any cached copy of the file; never creates the file.
    virtual void flush(const std::string& path) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Last-write time in local time, packed as a DOS date-time; -1 when the
    // path names no file, names a folder, or holds a time the packing cannot express.
    [[nodiscard]] virtual int32_t fileAge(const std::string& path) = 0;
    // False when the system refused; a caller that does not care says so and why.
    [[nodiscard]] virtual bool deleteFile(const std::string& path) = 0;
    [[nodiscard]] virtual bool setCurrentDirectory(const std::string& path) = 0;
    // The full path that the system makes of a name before it touches the
    // file: a relative name resolved against the current folder, "/" read as
    // "\", "." and ".." resolved, the trailing dots and blanks of the last
    // part dropped. The name unchanged when it cannot be resolved.
    [[nodiscard]] virtual std::string fullPathName(const std::string& path) = 0;
    // Whether a full path in UTF-8 names a file: for a name that has no form
    // in the code page.
    [[nodiscard]] virtual bool fileExistsUtf8(const std::string& utf8Path) = 0;
};

// Texts between the code page and UTF-8, in which some compilers write.
class CodePage {
public:
    virtual ~CodePage() = default;
    // The UTF-8 text in the code page, a character that has no form there
    // written as "・"; exact, when asked, tells whether every character had one.
    virtual std::string fromUtf8(std::string_view utf8, bool* exact = nullptr) = 0;
    virtual std::string toUtf8(std::string_view text) = 0;
};

// Facts about the running program.
class ProgramInfo {
public:
    virtual ~ProgramInfo() = default;
    virtual std::string executablePath() = 0; // full path
    virtual std::string commandLine() = 0;    // as the program received it, program name first
};

// The shell, which knows what opens a file, URL or "mailto:" address.
class Shell {
public:
    virtual ~Shell() = default;
    // Asks the shell to perform an operation ("OPEN") on a file, URL or
    // "mailto:" address; what the shell does about a failure is its own.
    virtual void execute(const std::string& operation, const std::string& file, const std::string& parameters,
                         const std::string& directory, ShowState show) = 0;
};

// A lock that every program on the machine knows by its name: one thread of
// one program holds it at a time.
class SharedLock {
public:
    virtual ~SharedLock() = default; // releases the lock if it is held
    // Takes the lock when it is free, also when the program that held it ended
    // without releasing it; otherwise waits until it is free, a window message
    // is waiting, or the time has passed (-1: no limit). True once the lock is
    // held, and also when the system refuses the wait itself, so that a lock
    // that does not work never holds anything up.
    [[nodiscard]] virtual bool acquire(int milliseconds) = 0;
};

class SharedLocks {
public:
    virtual ~SharedLocks() = default;
    // The lock of the name (no backslash, at most 200 characters); null when the system refuses it.
    virtual std::unique_ptr<SharedLock> open(const std::string& name) = 0;
};

struct Os {
    Profile& profile;
    FileSystem& files;
    ProgramInfo& program;
    ProcessService& processes;
    Shell& shell;
    Desktop& desktop;
    DdeClient& dde;
    SharedLocks& locks;
    CodePage& codePage;
};

} // namespace platform
