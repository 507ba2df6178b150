#!/usr/bin/env bash
# Unpacks the shared corpus of committed real logs (../shared/real-logs beside
# the project) into build/real-logs, where the native build's real-log replay
# reads its cases (tests/real-logs/README.md). It unpacks again only when the
# archive is not the one unpacked last: a run of the tests pays nothing for it.
# Without the shared folder it does nothing, and the replay skips with a note.
set -euo pipefail
cd "$(dirname "$0")/.."
archive=../shared/real-logs/real-logs.tar.xz
into=build/real-logs

if [ ! -f "$archive" ]; then
  echo "real logs: no $archive beside the project; their replay skips"
  exit 0
fi
# The archive's size and time of change, as they were when it was unpacked.
stamp=$(stat -c '%s %Y' "$archive")
[ "$(cat "$into/.archive" 2>/dev/null)" = "$stamp" ] && exit 0
rm -rf "$into"
mkdir -p "$into"
tar -xJf "$archive" -C "$into"
echo "$stamp" >"$into/.archive"
echo "real logs: $(find "$into" -name '*.case' | wc -l) cases unpacked into $into"
