#include "platform/win32/SystemErrorText.h"

namespace platform::win32 {

std::string textOfSystemError(DWORD code) {
    char buffer[1024];
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    const std::size_t end = text.find_last_not_of("\r\n \t");
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

} // namespace platform::win32
