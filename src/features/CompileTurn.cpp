#include "features/CompileTurn.h"

#include <cstdint>

#include "text/FileNames.h"

// A 64-bit FNV-1a hash of the name as Windows compares it: a full path may be
// longer than a lock's name can be, and holds backslashes, which it cannot.
std::string compileLockName(const std::string& fullPath) {
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : text::upperCaseFileName(fullPath)) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    std::string name = "Velumo.compile.";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += "0123456789abcdef"[(hash >> shift) & 0xF];
    return name;
}

CompileTurn::CompileTurn(Application& app, const std::string& texPath)
    : lock_(app.os().locks.open(compileLockName(app.os().files.fullPathName(texPath)))) {
    while (lock_ && !app.terminated() && !lock_->acquire(-1))
        app.toolkit().processMessages();
    taken_ = !app.terminated();
}
