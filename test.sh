#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test tier: unit
# tests (the shared corpus of real logs among them) and the fuzz targets over
# their corpora natively, Windows tests and end-to-end tests under Wine in
# Xvfb; and the release archive is made and checked.
set -uo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh || exit 1
./tools/build.sh all || exit 1

status=0
./tools/real-logs.sh || status=1
echo "== unit tests (native, sanitizers)"
ctest --test-dir build/native --output-on-failure || status=1
# The real-log replay's counts, from the log ctest keeps of every test's output.
grep -a -e '^Committed logs' -e '^Errors that a double-click' build/native/Testing/Temporary/LastTest.log || true
echo "== fuzz targets over their corpora (native, sanitizers)"
./tools/fuzz.sh replay || status=1
echo "== release archive"
{ cmake --build build/win32 --target package >/dev/null && python3 tools/check_release.py build/win32; } || status=1

# A wineserver left from an earlier run may hold streams of its own; start afresh.
WINEPREFIX=${WINEPREFIX:-$HOME/.wine-velumo} wineserver -k 2>/dev/null || true
. tools/xserver.sh
# One CTest test per case: win.* and e2e.* here (-R '^win\.' or -R '^e2e\.'
# would run one tier alone), unit.* above.
echo "== Windows and end-to-end tests (Wine, display $DISPLAY)"
ctest --test-dir build/win32 --output-on-failure || status=1
velumo_stop_xserver

exit $status
