#!/usr/bin/env bash
# Builds the release program (i686 TarnwickGUI.exe) and stubpack twice from a
# commit (default HEAD), each time from a fresh clone with its own
# third-party sources and build folder at other paths, and fails unless both
# builds give the same bytes. Uncommitted changes are not part of the check.
#
#   scripts/check-reproducible.sh [COMMIT]
# Set-up must have run (scripts/setup.sh).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
jobs=${TARNWICK_JOBS:-2}
work="$repo/build/reproducible"
commit=$(git -C "$repo" rev-parse --verify "${1:-HEAD}^{commit}")
deps=$(cd "$repo/.deps/src" && pwd -P)

rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

quiet() {  # runs a step, showing its output only when it fails
  if ! "$@" >"$work/step.log" 2>&1; then
    tail -n 40 "$work/step.log" >&2
    echo "check-reproducible: failed: $*" >&2
    exit 1
  fi
}

build() {  # clone folder, third-party sources, build folder
  local source=$1 third_party=$2 out=$3
  quiet git clone -q --shared --no-checkout "$repo" "$source"
  quiet git -C "$source" checkout -q --detach "$commit"
  local configure=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_DEPS_DIR="$third_party")
  quiet cmake -S "$source" -B "$out/native" "${configure[@]}"
  quiet cmake --build "$out/native" -j "$jobs" --target stubpack
  quiet cmake -S "$source" -B "$out/i686" "${configure[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$source/cmake/toolchain-i686-w64-mingw32.cmake"
  quiet cmake --build "$out/i686" -j "$jobs" --target TarnwickGUI
}

start=$(date +%s)
# The first build reads the shared third-party sources through a symlink, as a
# worktree does; the second a copy of them, so that their real paths differ too.
first="$work/a"
second="$work/second/clone/at/another/depth"
mkdir -p "$first" "$second"
ln -s "$deps" "$first/deps"
cp -a "$deps" "$second/third-party"
build "$first/src" "$first/deps" "$first/build"
build "$second/tarnwick" "$second/third-party" "$second/out/release"

status=0
for artifact in i686/startup/TarnwickGUI.exe native/tools/stubpack/stubpack; do
  if cmp -s "$first/build/$artifact" "$second/out/release/$artifact"; then
    echo "reproducible: $artifact ($(stat -c %s "$first/build/$artifact") bytes, sha256 $(sha256sum < "$first/build/$artifact" | cut -c1-16)...)"
  else
    echo "NOT reproducible: $artifact differs in $(cmp -l "$first/build/$artifact" "$second/out/release/$artifact" | wc -l) bytes; first ones:" >&2
    cmp -l "$first/build/$artifact" "$second/out/release/$artifact" | head -n 8 >&2 || true
    status=1
  fi
done
echo "reproducibility check of $commit: $(( $(date +%s) - start )) s"
exit $status
