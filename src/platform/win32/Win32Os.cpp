#include "platform/win32/Win32Os.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win32/OwnedHandle.h"
#include "platform/win32/Win32Processes.h"

namespace platform::win32 {

namespace {
constexpr DWORD profileBufferSize = 2048;
}

std::string Win32Profile::readString(const std::string& section, const std::string& key, const std::string& def,
                                     const std::string& path) {
    std::vector<char> buffer(profileBufferSize);
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(), profileBufferSize,
                                            path.c_str());
    return std::string(buffer.data(), length);
}

bool Win32Profile::writeString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& path) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != 0;
}

// All three names null is the call that writes out the cached copy of one file.
void Win32Profile::flush(const std::string& path) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

int32_t Win32FileSystem::fileAge(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;

    FILETIME local;
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
        return -1;
    return static_cast<int32_t>((static_cast<uint32_t>(date) << 16) | time);
}

bool Win32FileSystem::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::setCurrentDirectory(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != 0; }

std::string Win32FileSystem::fullPathName(const std::string& path) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (length == 0) return path;
        // Too small a buffer gives the size needed, its terminating zero included.
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(length);
    }
}

namespace {
std::wstring wideOf(std::string_view text, UINT codePage) {
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(length, 0)), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// The wide text in the code page, or nothing when a character has no form there.
std::optional<std::string> exactlyInCodePage(std::wstring_view wide) {
    BOOL lossy = FALSE;
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lossy);
    if (lossy || (length == 0 && size > 0)) return std::nullopt;
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, text.data(), length, nullptr, &lossy);
    if (lossy) return std::nullopt;
    return text;
}
} // namespace

bool Win32FileSystem::fileExistsUtf8(const std::string& utf8Path) {
    const DWORD attributes = GetFileAttributesW(wideOf(utf8Path, CP_UTF8).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The whole text in one conversion; only a text with a character that has no
// form in the code page is converted a character at a time.
std::string Win32CodePage::fromUtf8(std::string_view utf8, bool* exact) {
    const std::wstring wide = wideOf(utf8, CP_UTF8);
    if (std::optional<std::string> whole = exactlyInCodePage(wide)) {
        if (exact) *exact = true;
        return std::move(*whole);
    }
    if (exact) *exact = false;
    std::string text;
    text.reserve(wide.size() * 2);
    for (size_t i = 0; i < wide.size();) {
        const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
        const size_t units = pair ? 2 : 1;
        const std::optional<std::string> character = exactlyInCodePage(std::wstring_view(wide).substr(i, units));
        text += character ? *character : "・";
        i += units;
    }
    return text;
}

std::string Win32CodePage::toUtf8(std::string_view text) {
    const std::wstring wide = wideOf(text, CP_ACP);
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(std::max(length, 0)), '\0');
    if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

namespace {
// A mutex belongs to the thread that took it, and is released by that thread:
// the GUI thread takes and releases the lock in one command.
class Win32SharedLock : public SharedLock {
public:
    explicit Win32SharedLock(HANDLE mutex) : mutex_(mutex) {}
    ~Win32SharedLock() override {
        if (held_) ReleaseMutex(mutex_.get());
    }
    // A mutex whose holder ended without releasing it comes as abandoned, and
    // is held all the same.
    bool acquire(int milliseconds) override {
        if (held_) return true;
        HANDLE mutex = mutex_.get();
        const DWORD result =
            MsgWaitForMultipleObjectsEx(1, &mutex, milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds),
                                        QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0;
        return held_ || result == WAIT_FAILED;
    }

private:
    OwnedHandle mutex_;
    bool held_ = false;
};
} // namespace

std::unique_ptr<SharedLock> Win32SharedLocks::open(const std::string& name) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    if (!mutex) return nullptr;
    return std::make_unique<Win32SharedLock>(mutex);
}

// The shell reports a failure in its own way; the result tells nothing more.
void Win32Shell::execute(const std::string& operation, const std::string& file, const std::string& parameters,
                         const std::string& directory, ShowState show) {
    ShellExecuteA(nullptr, operation.c_str(), file.c_str(), parameters.c_str(), directory.c_str(), showCommandOf(show));
}

std::string Win32ProgramInfo::executablePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2); // the path was cut: try a bigger buffer
    }
}

std::string Win32ProgramInfo::commandLine() { return GetCommandLineA(); }

} // namespace platform::win32
