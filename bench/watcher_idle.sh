#!/usr/bin/env bash
# The watcher's cost: CPU time of Velumo (and of the wineserver that carries its
# timer messages) left idle with auto-compile on at the default interval,
# against the same idle time with it off, in the same run. Wine does not
# report another process's times, so they are read from /proc.
#   bench/watcher_idle.sh [seconds]      (default 60; run after tools/build.sh win32)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
exe=${VELUMO_EXE:-build/win32/Velumo.exe}
. tools/xserver.sh

ticks() { [ -n "$1" ] && awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }

idle_cpu() {
  local folder; folder=$(mktemp -d /tmp/velumo-idle.XXXX)
  cp "$exe" "$folder/Velumo.exe"
  printf 'x' > "$folder/idle.tex"; sleep 2.1; printf 'x' > "$folder/idle.dvi"
  printf '[Option]\r\nAutoCompile=%s\r\n' "$1" > "$folder/Velumo.ini"
  (cd "$folder" && exec wine Velumo.exe idle.tex) </dev/null >/dev/null 2>&1 &
  local pid=""
  for _ in $(seq 100); do pid=$(pgrep -n -f "^Velumo.exe idle.tex" || true); [ -n "$pid" ] && break; sleep 0.1; done
  sleep 2
  local server="" candidate
  for candidate in $(pgrep -x wineserver); do
    tr '\0' '\n' < "/proc/$candidate/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && server=$candidate
  done
  local before=$(( $(ticks "$pid") + $(ticks "$server") ))
  sleep "$seconds"
  local after=$(( $(ticks "$pid") + $(ticks "$server") ))
  kill "$pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$folder"
  echo $(( after - before ))
}

hz=$(getconf CLK_TCK)
off=$(idle_cpu 0)
on=$(idle_cpu 1)
awk -v off="$off" -v on="$on" -v hz="$hz" -v s="$seconds" 'BEGIN {
  printf "idle %d s: CPU with auto-compile off %.2f s, on %.2f s; the watcher costs %.3f%% of one core (target under 1%%)\n",
         s, off / hz, on / hz, (on - off) / hz / s * 100 }'
velumo_stop_xserver
