#include "support/HeadlessOs.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

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

const MemoryFile* MemoryFileSystem::find(const std::string& path) const {
    for (const auto& [name, file] : files)
        if (lower(name) == lower(path)) return &file;
    return nullptr;
}

int32_t MemoryFileSystem::fileAge(const std::string& path) {
    const MemoryFile* file = find(path);
    return file ? file->age : -1;
}

bool MemoryFileSystem::deleteFile(const std::string& path) {
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (lower(it->first) != lower(path)) continue;
        if (!canWrite(path)) return false;
        files.erase(it);
        return true;
    }
    return false;
}

bool MemoryFileSystem::setCurrentDirectory(const std::string& path) {
    currentDirectory = path;
    return true;
}

void MemoryFileSystem::put(const std::string& path, const std::string& content, int32_t age) {
    for (auto& [name, file] : files)
        if (lower(name) == lower(path)) {
            file = {content, age};
            return;
        }
    files[path] = {content, age};
}

bool MemoryFileSystem::exists(const std::string& path) const { return find(path) != nullptr; }

const std::string& MemoryFileSystem::content(const std::string& path) const {
    const MemoryFile* file = find(path);
    if (!file) throw std::logic_error("no file " + path);
    return file->content;
}

bool MemoryFileSystem::canWrite(const std::string& path) const {
    for (const std::string& folder : readOnlyFolders)
        if (lower(folder) == lower(text::extractFileDir(path))) return false;
    return true;
}

void MemoryFileSystem::touch(const std::string& path) {
    for (auto& [name, file] : files)
        if (lower(name) == lower(path)) file.age = clock;
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

} // namespace headless
