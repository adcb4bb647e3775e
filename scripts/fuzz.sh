#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz natively with clang's libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer (build/fuzz), and runs each
# for SECONDS (default 60), one after the other.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# A target first replays every input of tests/fuzz/corpus/<target>: the seeds,
# and the inputs of crashes found before, kept there as regression cases. New
# inputs go to build/fuzz/corpus/<target>. A crash or a broken property ends
# the script with the input saved under build/fuzz/crashes/: fix the code, add
# a unit test, and copy the input into the target's corpus folder.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
jobs=${TARNWICK_JOBS:-2}
seconds=${1:-60}
shift || true
out="$repo/build/fuzz"

if [ ! -f "$out/CMakeCache.txt" ]; then
  cmake -S "$repo/tests/fuzz" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
fi
cmake --build "$out" -j "$jobs"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for folder in "$repo"/tests/fuzz/corpus/*/; do targets+=("$(basename "$folder")"); done
fi

mkdir -p "$out/crashes" "$out/logs"
for target in "${targets[@]}"; do
  mkdir -p "$out/corpus/$target"
  log="$out/logs/$target.log"
  if ! "$out/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$out/crashes/$target-" \
      "$out/corpus/$target" "$repo/tests/fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "fuzz: $target failed; the input is in $out/crashes, the whole output in $log" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "fuzz: $target: $runs inputs in ${seconds} s ($speed/s), no crash"
done
