#!/usr/bin/env bash
# Builds Velumo and starts it under Wine: on your display if there is one,
# otherwise in a virtual X server, saving a screenshot to build/screenshot.png.
#   ./run.sh [document.tex]
# Without a document and without a settings file (build/win32/Velumo.ini), it
# writes settings for this machine and opens a copy of the example document of
# examples/, which Velumo compiles as soon as it is open.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
./tools/build.sh win32 >/dev/null

velumo=$PWD/build/win32/Velumo.exe
settings=build/win32/Velumo.ini
example=build/example
# The Windows name of a file here: Wine's drive Z: is the Unix root.
windows_path() { printf 'Z:%s' "$(realpath -m "$1")" | tr / '\\'; }

document=()
folder=.
if [ $# -gt 0 ]; then
  case "$1" in
    /*) document=("$(windows_path "$1")") ;;
    *) document=("$1") ;;
  esac
elif [ ! -f "$settings" ]; then
  # The bridges to the Linux pTeX and DVI viewer, Wine's notepad, the error
  # jump, and auto-compile, which compiles the fresh copy at once since it has
  # no DVI yet, and again whenever one of its files is saved.
  rm -rf "$example"
  cp -r examples "$example"
  printf '[Option]\r\nEditor=notepad.exe\r\nTeX=%s\r\nDviWare=%s\r\nErrorJump=1\r\nAutoCompile=1\r\nTop=40\r\nLeft=60\r\n' \
    "$(windows_path build/win32/platex.exe)" "$(windows_path build/win32/dviout.exe)" >"$settings"
  echo "Wrote $settings for this machine; opening the example $example/guide.tex"
  document=(guide.tex) # started in its folder, so that the title names it short
  folder=$example
fi

had_display=${DISPLAY:-}
. tools/xserver.sh

if [ -n "$had_display" ] && [ -z "$velumo_started_xvfb" ]; then
  (cd "$folder" && exec wine "$velumo" "${document[@]}") >/dev/null 2>&1
else
  (cd "$folder" && exec wine "$velumo" "${document[@]}") >/dev/null 2>&1 &
  if [ "$folder" = "$example" ]; then
    # The compile has ended once the DVI is there and the title no longer says
    # that it compiles; the editor then opens at the error, the window goes on top.
    main=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velumo - guide\.tex$' | head -n 1)
    for _ in $(seq 600); do
      [ -f "$example/guide.dvi" ] && [ "$(xdotool getwindowname "$main")" = "Velumo - guide.tex" ] && break
      sleep 0.1
    done
    sleep 2
    xdotool windowraise "$main"
    sleep 1.5 # lets the window draw what the editor covered
    import -window "$main" build/screenshot.png
  else
    sleep 6
    import -window root build/screenshot.png
  fi
  echo "No display: Velumo ran in a virtual X server; screenshot saved to build/screenshot.png"
  wineserver -k >/dev/null 2>&1 || true
fi
velumo_stop_xserver
