#!/usr/bin/env bash
# Sets up the machine (as root), builds both targets and runs every test:
# GoogleTest programs and scenario tests, under 64-bit Wine; then builds the
# release programs twice to compare their bytes, and fuzzes each parser briefly.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/scripts/setup.sh"
"$repo/scripts/build.sh"
cd "$repo/build/x86_64"
# Scenario tests of the Python side must see no proxy of the machine's.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
ctest --output-on-failure --timeout 900 -j 2
"$repo/scripts/check-reproducible.sh"
"$repo/scripts/fuzz.sh" 15
