#pragma once
// The Linux pTeX writes its messages in Shift-JIS (PTEX_KANJI_ENC=sjis) but
// the names of the files it opens as the file system holds them, in UTF-8.
// The Windows compiler writes those names in the system code page too, and
// a front end that reads "(./表.tex" to find the file TeX was reading needs
// them so: each name after a "(" that is UTF-8 is written in the code page.
#include <windows.h>

#include <algorithm>
#include <string>

namespace bridge {

// The text in the system code page, or nothing when it is not UTF-8 or does
// not map whole.
inline bool fromUtf8(const std::string& text, std::string& converted) {
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0);
    if (wideLength <= 0) return false;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0,
                                           nullptr, &lossy);
    if (length <= 0 || lossy) return false;
    converted.assign(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, converted.data(), length, nullptr,
                        &lossy);
    return !lossy;
}

inline std::string fileNamesInCodePage(const std::string& output) {
    std::string result;
    result.reserve(output.size());
    size_t at = 0;
    for (size_t open; (open = output.find('(', at)) != std::string::npos;) {
        const size_t end = output.find_first_of(" ()[{<\"\r\n", open + 1);
        const size_t stop = end == std::string::npos ? output.size() : end;
        const std::string name = output.substr(open + 1, stop - open - 1);
        result.append(output, at, open + 1 - at);
        std::string converted;
        const bool wide = std::any_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; });
        result.append(wide && fromUtf8(name, converted) ? converted : name);
        at = stop;
    }
    result.append(output, at, std::string::npos);
    return result;
}

} // namespace bridge
