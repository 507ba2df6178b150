#pragma once
// Operating-system services in memory: files with their ages, a profile
// service that reads and writes INI text in those files, and the program's
// path and command line. Folders can be made read-only so writes are refused.
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Os.h"
#include "support/HeadlessDesktop.h"
#include "support/HeadlessProcesses.h"

namespace headless {

struct MemoryFile {
    std::string content;
    int32_t age = 0;
};

// Files are found as Windows finds them, wherever the program's safety
// depends on it: names compared without letter case, relative names against
// the current folder, "/" as a separator, "." and ".." resolved, trailing dots
// and blanks of the last part dropped, "name::$DATA" naming the file itself,
// and names with characters that Windows forbids naming no file.
class MemoryFileSystem : public platform::FileSystem {
public:
    int32_t fileAge(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    bool setCurrentDirectory(const std::string& path) override;
    std::string fullPathName(const std::string& path) override;
    bool fileExistsUtf8(const std::string& utf8Path) override;

    void put(const std::string& path, const std::string& content, int32_t age = 0x5A000000);
    bool exists(const std::string& path) const;
    const std::string& content(const std::string& path) const;
    bool canWrite(const std::string& path) const;
    void touch(const std::string& path); // written now: takes the clock's age
    void remove(const std::string& path);

    std::map<std::string, MemoryFile> files; // by full path
    std::set<std::string> readOnlyFolders;
    std::set<std::string> utf8OnlyFiles; // full UTF-8 paths of files whose names have no code page form
    std::string currentDirectory = "C:\\";
    int32_t clock = 0x5A000000; // the age a write gives a file

private:
    std::string resolve(const std::string& path) const;
    MemoryFile* find(const std::string& path);
    const MemoryFile* find(const std::string& path) const;
    bool isFolder(const std::string& fullPath) const;
};

class MemoryProfile : public platform::Profile {
public:
    explicit MemoryProfile(MemoryFileSystem& files) : files_(files) {}
    std::string readString(const std::string& section, const std::string& key, const std::string& def,
                           const std::string& path) override;
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override;
    void flush(const std::string& path) override;

    int flushCount = 0;
    int acceptedWritesLeft = -1;          // writes refused once this reaches 0; -1: no limit
    std::vector<std::string> writtenKeys; // in order, for every accepted write

private:
    MemoryFileSystem& files_;
};

class FixedProgramInfo : public platform::ProgramInfo {
public:
    std::string executablePath() override { return path; }
    std::string commandLine() override { return line; }
    std::string path = "C:\\Velumo\\Velumo.exe";
    std::string line = "\"C:\\Velumo\\Velumo.exe\"";
};

// Locks shared with other copies of the program: a test names the locks that
// another copy holds and acts at each wait, as the user or that copy would.
class MemoryLocks : public platform::SharedLocks {
public:
    std::unique_ptr<platform::SharedLock> open(const std::string& name) override;

    std::set<std::string> heldElsewhere; // by another copy of the program
    std::set<std::string> held;          // by this program
    std::function<void()> whileWaiting;  // at every wait for a lock held elsewhere
    int waits = 0;
    bool refused = false; // the system refuses every lock
};

// The conversions of code page 932 as the C library knows them.
class IconvCodePage : public platform::CodePage {
public:
    std::string fromUtf8(std::string_view utf8, bool* exact = nullptr) override;
    std::string toUtf8(std::string_view text) override;
};

// The shell, recording each request as "operation|file|parameters|directory|show".
class RecordingShell : public platform::Shell {
public:
    void execute(const std::string& operation, const std::string& file, const std::string& parameters,
                 const std::string& directory, platform::ShowState show) override {
        executed.push_back(operation + "|" + file + "|" + parameters + "|" + directory + "|" +
                           (show == platform::ShowState::Normal ? "normal" : "minimised"));
    }
    std::vector<std::string> executed;
};

struct HeadlessOs {
    MemoryFileSystem files;
    MemoryProfile profile{files};
    FixedProgramInfo program;
    ScriptedDesktop desktop;
    ScriptedProcesses processes{desktop};
    RecordingShell shell;
    ScriptedDde dde;
    MemoryLocks locks;
    IconvCodePage codePage;
    platform::Os os{profile, files, program, processes, shell, desktop, dde, locks, codePage};
};

} // namespace headless
