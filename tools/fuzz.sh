#!/usr/bin/env bash
# Fuzzes the pure rules with libFuzzer under AddressSanitizer and UBSan (one
# target per rule, fuzz/<rule>_fuzz.cpp, each with its corpus in fuzz/corpus/<rule>/).
# The readers of TeX's output also read fuzz/shapes/: inputs made by hand in
# the shapes that real logs brought, which a merge never drops.
#   tools/fuzz.sh [seconds [rule...]]  fuzzes each target (or the named ones) that
#       long, 60 s by default, then merges what it found into its corpus, minimised
#   tools/fuzz.sh replay  runs each target once over its corpus, as ./test.sh does
# Either way it ends non-zero when a target finds a fault; the input that shows
# it is left in build/fuzz/faults/.
set -uo pipefail
cd "$(dirname "$0")/.."
build=build/fuzz
mode=${1:-60}
rules=("${@:2}")
[ ${#rules[@]} -gt 0 ] || rules=($(basename -s _fuzz.cpp fuzz/*_fuzz.cpp))

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" >"$build/build.log" 2>&1 || { cat "$build/build.log"; exit 1; }
mkdir -p "$build/faults" "$build/logs"

status=0
for rule in "${rules[@]}"; do
  target="$build/${rule}_fuzz"
  corpus="fuzz/corpus/$rule"
  log="$build/logs/$rule.log"
  options=(-timeout=10 -artifact_prefix="$build/faults/$rule-")
  # The reader of TeX's output must cost the same per byte whatever the output
  # holds: long inputs, and a time per input that a reader quadratic in them breaks.
  shapes=()
  if [ "$rule" = TexFileTrail ] || [ "$rule" = TexPlaces ]; then
    options=(-timeout=1 -max_len=65536 -artifact_prefix="$build/faults/$rule-")
    shapes=(fuzz/shapes)
  fi
  mkdir -p "$corpus"

  if [ "$mode" = replay ]; then
    "$target" "${options[@]}" -runs=0 "$corpus" "${shapes[@]}" >"$log" 2>&1
  else
    found="$build/found/$rule" merged="$build/merged/$rule"
    rm -rf "$found" "$merged"
    mkdir -p "$found" "$merged"
    "$target" "${options[@]}" -max_total_time="$mode" "$found" "$corpus" "${shapes[@]}" >"$log" 2>&1 &&
      "$target" "${options[@]}" -merge=1 "$merged" "$corpus" "$found" >>"$log" 2>&1 &&
      rm -rf "$corpus" && mv "$merged" "$corpus"
  fi

  if [ $? -eq 0 ]; then
    echo "$rule: $(ls "$corpus" | wc -l) inputs${shapes[*]:+ and those of ${shapes[*]}}, passed"
  else
    echo "$rule: FAILED (log: $log)"
    grep -E 'ERROR|property does not hold|runtime error|Test unit written' "$log" | head -n 5
    status=1
  fi
done
exit $status
