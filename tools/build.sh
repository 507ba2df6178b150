#!/usr/bin/env bash
# Builds the native unit tests (build/native) and the Windows program with its
# Windows tests (build/win32, leaving build/win32/Velumo.exe).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

build_native() {
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DVELUMO_WARNINGS_AS_ERRORS=ON >/dev/null
  cmake --build build/native -j"$jobs"
}
build_win32() {
  # The toolchain file counts only on a tree's first configure; given again,
  # CMake warns that it was not used.
  local toolchain=()
  [ -f build/win32/CMakeCache.txt ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake)
  cmake -S . -B build/win32 "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release -DVELUMO_WARNINGS_AS_ERRORS=ON >/dev/null
  cmake --build build/win32 -j"$jobs"
}

case "${1:-all}" in
  native) build_native ;;
  win32) build_win32 ;;
  all) build_native; build_win32 ;;
esac
