#!/usr/bin/env bash
# Builds Velumo and starts it under Wine: on your display if there is one,
# otherwise in a virtual X server, saving a screenshot to build/screenshot.png.
#   ./run.sh [document.tex]
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
./tools/build.sh win32 >/dev/null

had_display=${DISPLAY:-}
. tools/xserver.sh

document=()
if [ $# -gt 0 ]; then
  case "$1" in
    /*) document=("Z:$(printf '%s' "$1" | tr / '\\')") ;;
    *) document=("$1") ;;
  esac
fi

if [ -n "$had_display" ] && [ -z "$velumo_started_xvfb" ]; then
  wine build/win32/Velumo.exe "${document[@]}" >/dev/null 2>&1
else
  wine build/win32/Velumo.exe "${document[@]}" >/dev/null 2>&1 &
  sleep 6
  import -window root build/screenshot.png
  echo "No display: Velumo ran in a virtual X server; screenshot saved to build/screenshot.png"
  wineserver -k >/dev/null 2>&1 || true
fi
velumo_stop_xserver
