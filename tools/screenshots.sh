#!/usr/bin/env bash
# Saves the pictures of docs/ from the built build/win32/Velumo.exe under Xvfb:
# the main window, the four pages of the options dialog, the about box, and
# its link while the mouse is over it and while a button is held on it.
# Wine runs in a prefix of its own (WINEPREFIX, else /tmp/velumo-screenshots),
# which is ended with everything in it at the close.
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX=${WINEPREFIX:-/tmp/velumo-screenshots}
. tools/xserver.sh

work=$(mktemp -d)
finish() {
  velumo_stop_xserver
  rm -rf "$work"
}
trap finish EXIT

mkdir -p docs
cp build/win32/Velumo.exe "$work/"
printf '[Option]\r\nEditor=notepad.exe\r\nTeX=platex.exe\r\nDviWare=dviout.exe\r\nTop=40\r\nLeft=60\r\n' >"$work/Velumo.ini"
(cd "$work" && exec wine Velumo.exe paper </dev/null >"$work/velumo.log" 2>&1) &

# The visible window whose title matches, within 30 seconds.
window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
shoot() {
  sleep 0.5 # lets the window finish drawing
  import -window "$1" "docs/$2"
  echo "docs/$2"
}

main=$(window '^Velumo - paper\.tex$')
xdotool mousemove 1000 750
shoot "$main" main-window.png

xdotool windowfocus --sync "$main" key alt+o
options=$(window '^オプション設定$')
shoot "$options" options-editor.png
for page in texcompiler dviware deletelog; do
  xdotool key ctrl+Tab
  shoot "$options" "options-$page.png"
done
xdotool key Escape

xdotool windowfocus --sync "$main" key alt+h
sleep 0.3
xdotool key v
about=$(window '^バージョン情報$')
shoot "$about" about-box.png

# The link lies in the client area at (72, 105) and onwards: the sunken panel
# at (7, 8), its one-pixel edge, the label at (64, 96) inside it. The window's
# frame is what its outer size has beyond the 279 x 213 client area.
eval "$(xdotool getwindowgeometry --shell "$about")"
frame=$(((WIDTH - 279) / 2))
caption=$((HEIGHT - 213 - frame))
xdotool mousemove --window "$about" $((frame + 72 + 12)) $((caption + 105 + 5))
shoot "$about" about-link-hot.png
xdotool mousedown 1
shoot "$about" about-link-pushed.png
xdotool mouseup 1
