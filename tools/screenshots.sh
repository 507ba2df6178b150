#!/usr/bin/env bash
# Saves the pictures of docs/ from the built build/win32/Velumo.exe under Xvfb:
# the main window, the four pages of the options dialog, the about box, its
# link while the mouse is over it and while a button is held on it, a warning
# of a real compile's log opened in notepad, and a real compile's log with its
# errors, warnings and bad boxes in their colours.
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
xdotool mousemove 1000 750 key Return
xdotool windowfocus --sync "$main" key alt+f e
for _ in $(seq 100); do xdotool search --onlyvisible --name '^Velumo' >/dev/null || break; sleep 0.1; done

# A document whose chapter refers to a section that is not there, compiled by
# the real pTeX through the platex.exe bridge; the warning's line of the log
# opened with Enter (as a double-click does): notepad shows the chapter.
# pTeX runs twice here first, so that the line's place in the log is known.
click="$work/click"
mkdir -p "$click/doc/chapters"
cp build/win32/Velumo.exe "$click/"
printf '\\documentclass{jarticle}\n\\begin{document}\n\\section{Introduction}\\label{sec:intro}\n\\input{chapters/method}\n\\end{document}\n' >"$click/doc/paper.tex"
printf '\\section{Method}\nThe method follows section~\\ref{sec:intro} and the results\nof section~\\ref{sec:results}.\n' >"$click/doc/chapters/method.tex"
for _ in 1 2; do (cd "$click/doc" && PTEX_KANJI_ENC=sjis platex paper.tex </dev/null >console.txt 2>/dev/null || true); done
warning=$(grep -n "^LaTeX Warning: Reference" "$click/doc/console.txt" | head -n 1 | cut -d: -f1)
windows_path() { printf 'Z:%s' "$(realpath -m "$1")" | tr / '\\'; }
printf '[Option]\r\nEditor=notepad.exe\r\nTeX=%s\r\nErrorJump=1\r\nTop=10\r\nLeft=10\r\n' \
  "$(windows_path build/win32/platex.exe)" >"$click/Velumo.ini"
(cd "$click/doc" && exec wine "$click/Velumo.exe" paper.tex </dev/null >"$work/click.log" 2>&1) &
main=$(window '^Velumo - paper\.tex$')
xdotool windowfocus --sync "$main" key alt+t c
sleep 1
for _ in $(seq 600); do [ "$(xdotool getwindowname "$main")" = "Velumo - paper.tex" ] && break; sleep 0.1; done
# The list lies below the button panel (137 pixels of the client area, which
# starts 4 pixels in and 42 down at this size of the frame and menu).
xdotool mousemove --window "$main" 40 $((42 + 137 + 8)) click 1 key Home
[ "$warning" -gt 1 ] && xdotool key --repeat $((warning - 1)) Down
xdotool key Return
notepad=$(window 'method\.tex')
xdotool windowmove "$notepad" 290 10
xdotool windowraise "$main" mousemove 1000 750
sleep 1
import -window root -crop 780x290+0+0 +repage docs/log-double-click.png
echo docs/log-double-click.png

# A document with two errors, warnings and bad boxes, compiled by the real pTeX
# without the error jump, in a window dragged larger by its corner (Xvfb has no
# window manager: Wine draws the frame and sizes the window itself).
colours="$work/colours"
mkdir -p "$colours/doc"
cp build/win32/Velumo.exe "$colours/"
printf '%s\n' '\documentclass{jarticle}' '\begin{document}' '\section{はじめに}' '本文は\ref{sec:none}節で述べる。' \
  '\PackageWarning{mystyle}{This environment is obsolete\MessageBreak use the new one instead}' '\badmacro' \
  '\hbox to 2cm{A rather long line of text that cannot fit}' '\parbox{3cm}{\hfill\break}' '\cite{knuth}' \
  '\anotherbad' '\hbox to 1cm{Overfull text in a box}' '\end{document}' | iconv -f UTF-8 -t CP932 >"$colours/doc/thesis.tex"
printf '[Option]\r\nEditor=notepad.exe\r\nTeX=%s\r\nErrorJump=0\r\nTop=0\r\nLeft=0\r\n' \
  "$(windows_path build/win32/platex.exe)" >"$colours/Velumo.ini"
(cd "$colours/doc" && exec wine "$colours/Velumo.exe" thesis.tex </dev/null >"$work/colours.log" 2>&1) &
main=$(window '^Velumo - thesis\.tex$')
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH - 2)) $((Y + HEIGHT - 2)) mousedown 1 mousemove $((X + 300)) $((Y + 300)) \
  mousemove $((X + 560)) $((Y + 520)) mouseup 1
xdotool windowfocus --sync "$main" key alt+t c
sleep 1
for _ in $(seq 600); do [ "$(xdotool getwindowname "$main")" = "Velumo - thesis.tex" ] && break; sleep 0.1; done
# The selected line keeps the highlight; the list starts 42 + 137 pixels down.
xdotool mousemove --window "$main" 40 $((42 + 137 + 8)) click 1 key Home key --repeat 9 Down mousemove 1000 750
sleep 1
import -window root -crop 560x520+0+0 +repage docs/coloured-log.png
echo docs/coloured-log.png
