#!/usr/bin/env bash
# Size of the release program against its goal, and its imports: it must load
# with the system's DLLs alone (the C++ runtime is linked in). Builds nothing.
#   bench/exe_size.sh [exe]      (default build/win32/Velumo.exe, after tools/build.sh win32)
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/win32/Velumo.exe}
goal_kib=512
system_dlls="advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt ole32 oleaut32 shell32 user32 winspool.drv"

bytes=$(stat -c %s "$exe")
awk -v b="$bytes" -v g="$goal_kib" 'BEGIN {
  printf "%s: %d bytes = %.1f KiB, goal %d KiB, ratio %.3f\n", ARGV[1], b, b / 1024, g, b / 1024 / g
}' "$exe"

status=0
[ "$bytes" -le $((goal_kib * 1024)) ] || { echo "over the goal"; status=1; }

echo "imports:"
while read -r dll; do
  name=$(tr '[:upper:]' '[:lower:]' <<<"${dll%.[dD][lL][lL]}")
  if [[ " $system_dlls " == *" $name "* ]]; then
    echo "  $dll"
  else
    echo "  $dll  <- not a system DLL"
    status=1
  fi
done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
exit $status
