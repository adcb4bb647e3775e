#!/usr/bin/env bash
# The benchmarks, one after the other, each printing ratios measured in its own
# run: the download (against a bare WinHTTP loop and curl), the time to window
# (against the least dialog program), the extraction (against native unrar);
# then the size of the i686 release program and what each part of it costs.
# Not a test: run it by hand after scripts/build.sh, with no test run using the
# build's Wine prefix (each benchmark starts and stops the prefix's session).
#   scripts/bench.sh [--runs N]   (N is handed to every benchmark)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy

for bench in download window unpack; do
  printf '\n== scripts/bench-%s.py\n' "$bench"
  python3 "$repo/scripts/bench-$bench.py" "$@"
done

printf '\n== Size of the i686 release program\n'
program="$repo/build/i686/startup/TarnwickGUI.exe"
size=$(stat -c %s "$program")
printf 'i686 release program: %d bytes (%d KiB; goal: at most 1,048,576 bytes)\n' "$size" $(((size + 1023) / 1024))
# What each part costs, from the link map the build writes beside the program.
python3 "$repo/scripts/size-table.py" "$repo/build/i686/startup/TarnwickGUI.map" "$program"
