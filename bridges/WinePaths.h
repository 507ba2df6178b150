#pragma once
// What the bridges to Linux programs share: a Windows path as the Unix path
// Wine maps it to, and a text quoted for /bin/sh.
#include <windows.h>

#include <string>

namespace bridge {

// Wine's own conversion when it offers one; otherwise the drive Z:, which
// Wine maps to the Unix root.
inline std::string unixPath(const std::string& windowsPath) {
    using Convert = char*(CDECL*)(const WCHAR*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (convert) {
        std::wstring wide(windowsPath.size() + 1, L'\0');
        const int length =
            MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
        if (length > 0) {
            if (char* converted = convert(wide.c_str())) {
                std::string result = converted;
                HeapFree(GetProcessHeap(), 0, converted);
                return result;
            }
        }
    }
    std::string path = windowsPath;
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path.empty() ? "/" : path;
}

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace bridge
