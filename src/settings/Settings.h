#pragma once
// The settings: every key of section "Option" with its type and the default
// its reader uses, one row each. Read and written through SettingsFile.
#include <cstdint>

namespace settings {

inline constexpr const char* section = "Option";

template <class Value> struct Setting {
    const char* key;
    Value byDefault;
};
using Text = Setting<const char*>;
using Integer = Setting<int32_t>;
using Flag = Setting<bool>;

// clang-format off
inline constexpr Text    editor             {"Editor",        "notepad.exe"};
inline constexpr Text    tex                {"TeX",           "platex.exe"};
inline constexpr Text    dviWare            {"DviWare",       "dviout.exe"};
inline constexpr Flag    autoCompile        {"AutoCompile",   false};
inline constexpr Integer checkInterval      {"CheckInterval", 1000};
inline constexpr Text    fileExt            {"FileExt",       "log,aux"};
// "ErrorJump" reads as on in the options dialog but as off in the compile,
// so error jumping starts only once the dialog has been confirmed.
inline constexpr Flag    errorJumpInOptions {"ErrorJump",     true};
inline constexpr Flag    errorJumpInCompile {"ErrorJump",     false};
inline constexpr Text    jumpOption         {"JumpOption",    ""};
inline constexpr Flag    useDde             {"UseDDE",        false};
inline constexpr Flag    autoDvi            {"AutoDVI",       false};
inline constexpr Flag    focusTeX           {"FocusTeX",      false};
// The main window's position, written by the window itself when it closes.
inline constexpr Integer top                {"Top",           0};
inline constexpr Integer left               {"Left",          0};
// clang-format on

} // namespace settings
