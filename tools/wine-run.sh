#!/usr/bin/env bash
# Runs a Windows program under Wine with the Japanese code page, quietly.
# CTest runs every Windows test case through it, and lists them through it too.
# The caller provides DISPLAY (an X server must exist before the first Wine start:
# source tools/xserver.sh first).
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-velumo}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# A Wine program started without a display would leave the prefix's later
# windows invisible: refuse instead.
if ! xdpyinfo >/dev/null 2>&1; then
  echo "wine-run.sh: no X server at DISPLAY='${DISPLAY:-}'; source tools/xserver.sh first" >&2
  exit 1
fi

# The program's C runtime ends its lines with CR LF; CMake reads a test list
# with plain LF line ends.
if [[ " $* " == *" --gtest_list_tests "* ]]; then
  wine "$@" | tr -d '\r'
  exit "${PIPESTATUS[0]}"
fi
exec wine "$@"
