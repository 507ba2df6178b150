#pragma once
// The keys of the settings file, all in section "Option", and the defaults
// their readers use. Some keys have different defaults in different readers:
// "ErrorJump" reads as on in the options dialog but as off in the compile, so
// error jumping starts only once the dialog has been confirmed.
#include <cstdint>

namespace settings {

inline constexpr const char* section = "Option";

namespace key {
inline constexpr const char* editor = "Editor";
inline constexpr const char* tex = "TeX";
inline constexpr const char* dviWare = "DviWare";
inline constexpr const char* autoCompile = "AutoCompile";
inline constexpr const char* checkInterval = "CheckInterval";
inline constexpr const char* fileExt = "FileExt";
inline constexpr const char* errorJump = "ErrorJump";
inline constexpr const char* jumpOption = "JumpOption";
inline constexpr const char* useDde = "UseDDE";
inline constexpr const char* autoDvi = "AutoDVI";
inline constexpr const char* focusTeX = "FocusTeX";
inline constexpr const char* top = "Top";
inline constexpr const char* left = "Left";
} // namespace key

namespace byDefault {
inline constexpr const char* editor = "notepad.exe";
inline constexpr const char* tex = "platex.exe";
inline constexpr const char* dviWare = "dviout.exe";
inline constexpr bool autoCompile = false;
inline constexpr int32_t checkInterval = 1000;
inline constexpr const char* fileExt = "log,aux";
inline constexpr bool errorJumpInOptions = true;
inline constexpr bool errorJumpInCompile = false;
inline constexpr const char* jumpOption = "";
inline constexpr bool useDde = false;
inline constexpr bool autoDvi = false;
inline constexpr bool focusTeX = false;
inline constexpr int32_t top = 0;
inline constexpr int32_t left = 0;
} // namespace byDefault

} // namespace settings
