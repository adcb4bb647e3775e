#!/usr/bin/env bash
# Configures and builds: build/native (the stubpack tool, for Linux),
# build/i686 (the release program, and the test hosts of its scenarios) and
# build/x86_64 (the same code with every test program). Both run under Wine.
# Set-up must have run (scripts/setup.sh).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
jobs=${TARNWICK_JOBS:-2}

configure() {  # build folder, then extra cmake arguments (applied to an existing tree too)
  local dir=$1; shift
  if [ ! -f "$repo/build/$dir/CMakeCache.txt" ]; then
    cmake -S "$repo" -B "$repo/build/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
  elif [ $# -gt 0 ]; then
    cmake "$repo/build/$dir" "$@" >/dev/null
  fi
}

configure native
cmake --build "$repo/build/native" -j "$jobs"

configure i686 -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-i686-w64-mingw32.cmake" \
  -DTARNWICK_BUILD_TEST_HOSTS=ON
cmake --build "$repo/build/i686" -j "$jobs"

configure x86_64 -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-x86_64-w64-mingw32.cmake" \
  -DTARNWICK_BUILD_TESTS=ON \
  -DTARNWICK_STUBPACK="$repo/build/native/tools/stubpack/stubpack" \
  -DTARNWICK_RELEASE_PROGRAM="$repo/build/i686/startup/TarnwickGUI.exe" \
  -DTARNWICK_I686_HOSTS="$repo/build/i686/tests/programs"
cmake --build "$repo/build/x86_64" -j "$jobs"
