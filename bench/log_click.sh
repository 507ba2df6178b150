#!/usr/bin/env bash
# Builds the Windows program and runs bench_log_click under Wine in an X server
# of its own, as many times as asked (default 3), one run after the other.
#   bench/log_click.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
tools/build.sh win32 >/dev/null
. tools/xserver.sh
trap velumo_stop_xserver EXIT
for run in $(seq "$runs"); do
  echo "== run $run of $runs"
  # Output to a file first: Wine's programs hold a pipe open after they end.
  out=$(mktemp)
  tools/wine-run.sh build/win32/bench_log_click.exe >"$out" 2>&1 </dev/null || true
  iconv -f CP932 -t UTF-8 "$out" 2>/dev/null || cat "$out"
  rm -f "$out"
done
