#pragma once
// Parts of a Windows path, respecting the double-byte characters of code page 932.
#include <string>

namespace text {

// From the last "." that comes after the last "\" or ":", or empty.
std::string extractFileExt(const std::string& path);
// Cuts the extension off (if any) and appends newExt (which brings its own ".").
std::string changeFileExt(const std::string& path, const std::string& newExt);
// Everything after the last "\" or ":".
std::string extractFileName(const std::string& path);
// Everything before the last "\" or ":", keeping that "\" only when it follows
// another "\" or a ":" (so a drive's root keeps its backslash).
std::string extractFileDir(const std::string& path);

} // namespace text
