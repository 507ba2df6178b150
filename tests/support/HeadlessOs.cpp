#include "support/HeadlessOs.h"

#include <iconv.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "text/Cp932.h"
#include "text/FileNames.h"
#include "text/PathParts.h"

namespace headless {
namespace {
std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    });
    return s;
}

std::string trim(const std::string& s) {
    const size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    const size_t end = s.find_last_not_of(" \t\r");
    return s.substr(begin, end - begin + 1);
}

std::vector<std::string> splitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::istringstream in(content);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool isSectionLine(const std::string& line, std::string* name) {
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const size_t close = t.find(']');
    if (close == std::string::npos) return false;
    *name = t.substr(1, close - 1);
    return true;
}

// The key of an entry line, or nullopt for a line that holds none.
bool entryKey(const std::string& line, std::string* key, std::string* value) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    *key = trim(line.substr(0, equals));
    *value = trim(line.substr(equals + 1));
    return true;
}
} // namespace

namespace {
bool isLead(char c) { return text::isLeadByte(static_cast<unsigned char>(c)); }

// The parts of a path between its backslashes; a backslash that is the second
// byte of a double-byte character separates nothing.
std::vector<std::string> pathParts(const std::string& path) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < path.size();) {
        const size_t next = text::nextCharIndex(path, i);
        if (path[i] == '\\')
            parts.emplace_back();
        else
            parts.back().append(path, i, next - i);
        i = next;
    }
    return parts;
}

std::string withoutTrailingDotsAndBlanks(std::string part) {
    while (!part.empty() && (part.back() == '.' || part.back() == ' '))
        part.pop_back();
    return part;
}

// As GetFullPathNameA: the root ("C:" or "\\server\share"), then the parts
// left once "." and ".." are resolved.
std::string windowsFullPath(std::string path, const std::string& currentDirectory) {
    for (char& c : path)
        if (c == '/') c = '\\'; // never the second byte of a double-byte character
    std::string root, rest;
    if (path.compare(0, 2, "\\\\") == 0) {
        const std::vector<std::string> parts = pathParts(path.substr(2));
        root = "\\\\" + parts[0] + (parts.size() > 1 ? "\\" + parts[1] : "");
        const size_t rootEnd = root.size() + 1;
        rest = path.size() > rootEnd ? path.substr(rootEnd) : "";
    } else if (path.size() >= 2 && !isLead(path[0]) && path[1] == ':') {
        root = path.substr(0, 2);
        if (path.size() >= 3 && path[2] == '\\')
            rest = path.substr(3);
        else if (text::sameFileName(currentDirectory.substr(0, 2), root))
            return windowsFullPath(currentDirectory + "\\" + path.substr(2), currentDirectory);
        else
            rest = path.substr(2);
    } else if (!path.empty() && path[0] == '\\') {
        root = currentDirectory.substr(0, 2);
        rest = path.substr(1);
    } else {
        return windowsFullPath(currentDirectory + "\\" + path, currentDirectory);
    }

    const std::vector<std::string> given = pathParts(rest);
    std::vector<std::string> parts;
    for (size_t i = 0; i < given.size(); ++i) {
        const bool last = i + 1 == given.size();
        if (given[i] == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (given[i] != "." && !given[i].empty()) {
            const std::string part = last ? withoutTrailingDotsAndBlanks(given[i]) : given[i];
            if (!part.empty()) parts.push_back(part);
        }
    }
    std::string full = root;
    for (const std::string& part : parts)
        full += "\\" + part;
    const bool endsInSeparator = given.back().empty(); // also for an empty rest
    return parts.empty() || endsInSeparator ? full + "\\" : full;
}

// A name that Windows cannot hold names no file; "name::$DATA" is the file itself.
std::optional<std::string> fileOfStream(const std::string& fullPath) {
    const std::string name = pathParts(fullPath.substr(2)).back();
    const size_t colon = name.find(':');
    if (colon == std::string::npos) return fullPath;
    if (!text::sameFileName(name.substr(colon), "::$DATA")) return std::nullopt;
    return fullPath.substr(0, fullPath.size() - (name.size() - colon));
}

bool holdsForbiddenCharacter(const std::string& fullPath) {
    const std::string name = fullPath.substr(2);
    for (size_t i = 0; i < name.size(); i = text::nextCharIndex(name, i))
        if (!isLead(name[i]) && std::string("*?\"<>|").find(name[i]) != std::string::npos) return true;
    return false;
}
} // namespace

std::string MemoryFileSystem::fullPathName(const std::string& path) { return resolve(path); }

// Windows resolves no empty name, and so finds no file by it.
std::string MemoryFileSystem::resolve(const std::string& path) const {
    return path.empty() ? path : windowsFullPath(path, currentDirectory);
}

const MemoryFile* MemoryFileSystem::find(const std::string& path) const {
    const std::string full = resolve(path);
    if (full.empty()) return nullptr;
    if (holdsForbiddenCharacter(full)) return nullptr;
    const std::optional<std::string> file = fileOfStream(full);
    if (!file) return nullptr;
    for (const auto& [name, content] : files)
        if (text::sameFileName(name, *file)) return &content;
    return nullptr;
}

MemoryFile* MemoryFileSystem::find(const std::string& path) {
    return const_cast<MemoryFile*>(static_cast<const MemoryFileSystem*>(this)->find(path));
}

bool MemoryFileSystem::isFolder(const std::string& fullPath) const {
    if (fullPath.size() == 3) return true; // a drive's root
    for (const auto& [name, file] : files) {
        const std::string folder = text::extractFileDir(name);
        if (text::sameFileName(folder, fullPath) ||
            text::sameFileName(folder.substr(0, fullPath.size() + 1), fullPath + "\\"))
            return true;
    }
    return false;
}

bool MemoryFileSystem::fileExistsUtf8(const std::string& utf8Path) {
    bool exact = false;
    const std::string path = IconvCodePage().fromUtf8(utf8Path, &exact);
    if (exact) return fileAge(path) != -1;
    // Windows drops the "." parts of a path before it looks.
    std::string resolved = utf8Path;
    for (size_t dot; (dot = resolved.find("\\.\\")) != std::string::npos;)
        resolved.erase(dot, 2);
    return utf8OnlyFiles.count(resolved) > 0;
}

namespace {
// Converts a whole text, or nothing when a character has no form in the other encoding.
std::optional<std::string> convert(std::string_view text, const char* to, const char* from) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in(text), out(text.size() * 4 + 4, '\0');
    char* inAt = in.data();
    char* outAt = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    const bool whole = iconv(converter, &inAt, &inLeft, &outAt, &outLeft) != static_cast<size_t>(-1);
    iconv_close(converter);
    if (!whole) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

size_t utf8CharacterLength(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1; }
} // namespace

std::string IconvCodePage::fromUtf8(std::string_view utf8, bool* exact) {
    if (std::optional<std::string> whole = convert(utf8, "CP932", "UTF-8")) {
        if (exact) *exact = true;
        return *whole;
    }
    if (exact) *exact = false;
    std::string text;
    for (size_t i = 0; i < utf8.size();) {
        const size_t length = std::min(utf8CharacterLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        const std::optional<std::string> character = convert(utf8.substr(i, length), "CP932", "UTF-8");
        text += character ? *character : "・";
        i += length;
    }
    return text;
}

std::string IconvCodePage::toUtf8(std::string_view text) { return convert(text, "UTF-8", "CP932").value_or(""); }

int32_t MemoryFileSystem::fileAge(const std::string& path) {
    const MemoryFile* file = find(path);
    return file ? file->age : -1;
}

bool MemoryFileSystem::deleteFile(const std::string& path) {
    if (!find(path) || !canWrite(path)) return false;
    remove(path);
    return true;
}

bool MemoryFileSystem::setCurrentDirectory(const std::string& path) {
    std::string full = resolve(path);
    if (full.size() > 3 && full.back() == '\\') full.pop_back();
    if (full.empty() || !isFolder(full)) return false;
    currentDirectory = full;
    return true;
}

void MemoryFileSystem::put(const std::string& path, const std::string& content, int32_t age) {
    if (MemoryFile* file = find(path)) {
        *file = {content, age};
        return;
    }
    files[resolve(path)] = {content, age};
}

bool MemoryFileSystem::exists(const std::string& path) const { return find(path) != nullptr; }

const std::string& MemoryFileSystem::content(const std::string& path) const {
    const MemoryFile* file = find(path);
    if (!file) throw std::logic_error("no file " + path);
    return file->content;
}

bool MemoryFileSystem::canWrite(const std::string& path) const {
    const std::string folder = text::extractFileDir(resolve(path));
    for (const std::string& readOnly : readOnlyFolders)
        if (text::sameFileName(resolve(readOnly), folder)) return false;
    return true;
}

void MemoryFileSystem::touch(const std::string& path) {
    if (MemoryFile* file = find(path)) file->age = clock;
}

void MemoryFileSystem::remove(const std::string& path) {
    const MemoryFile* file = find(path);
    for (auto it = files.begin(); it != files.end(); ++it)
        if (&it->second == file) {
            files.erase(it);
            return;
        }
}

std::string MemoryProfile::readString(const std::string& section, const std::string& key, const std::string& def,
                                      const std::string& path) {
    std::string result = def;
    if (files_.exists(path)) {
        std::string current;
        for (const std::string& line : splitLines(files_.content(path))) {
            std::string name, entry, value;
            if (isSectionLine(line, &name))
                current = name;
            else if (lower(current) == lower(section) && entryKey(line, &entry, &value) && lower(entry) == lower(key)) {
                result = value;
                break;
            }
        }
    }
    return result.substr(0, 2047);
}

bool MemoryProfile::writeString(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& path) {
    if (!files_.canWrite(path) || acceptedWritesLeft == 0) return false;
    if (acceptedWritesLeft > 0) --acceptedWritesLeft;
    std::vector<std::string> lines =
        files_.exists(path) ? splitLines(files_.content(path)) : std::vector<std::string>{};
    const std::string entry = key + "=" + value;
    std::string current;
    size_t sectionEnd = std::string::npos;
    bool stored = false;
    for (size_t i = 0; i < lines.size() && !stored; ++i) {
        std::string name, existing, old;
        if (isSectionLine(lines[i], &name)) {
            current = name;
            if (lower(name) == lower(section)) sectionEnd = i + 1;
        } else if (lower(current) == lower(section)) {
            if (entryKey(lines[i], &existing, &old) && lower(existing) == lower(key)) {
                lines[i] = entry;
                stored = true;
            } else if (!trim(lines[i]).empty()) {
                sectionEnd = i + 1;
            }
        }
    }
    if (!stored && sectionEnd != std::string::npos) {
        lines.insert(lines.begin() + static_cast<long>(sectionEnd), entry);
    } else if (!stored) {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
    std::string content;
    for (const std::string& line : lines)
        content += line + "\r\n";
    files_.put(path, content, files_.clock);
    writtenKeys.push_back(key);
    return true;
}

void MemoryProfile::flush(const std::string&) { ++flushCount; }

namespace {
class MemoryLock : public platform::SharedLock {
public:
    MemoryLock(MemoryLocks& locks, std::string name) : locks_(locks), name_(std::move(name)) {}
    ~MemoryLock() override {
        if (held_) locks_.held.erase(name_);
    }
    // A lock held elsewhere is a wait that a window message ends.
    bool acquire(int) override {
        if (held_) return true;
        if (locks_.heldElsewhere.count(name_)) {
            if (++locks_.waits > 10000) throw std::logic_error("a lock held elsewhere was never released");
            if (locks_.whileWaiting) locks_.whileWaiting();
            return false;
        }
        held_ = locks_.held.insert(name_).second;
        if (!held_) throw std::logic_error("a lock taken twice: " + name_);
        return true;
    }

private:
    MemoryLocks& locks_;
    std::string name_;
    bool held_ = false;
};
} // namespace

std::unique_ptr<platform::SharedLock> MemoryLocks::open(const std::string& name) {
    if (refused) return nullptr;
    if (name.find('\\') != std::string::npos || name.size() > 200) throw std::logic_error("no lock name: " + name);
    return std::make_unique<MemoryLock>(*this, name);
}

} // namespace headless
