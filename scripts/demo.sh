#!/usr/bin/env bash
# The main job: sets up the machine (as root), builds, packs the demo workflow
# into the stub, signs it with a throw-away test certificate, and runs it under
# 64-bit Wine: the stub's own signature verdict, its window, the run of the
# document's workflow and its execution log, then the same stub unsigned.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/scripts/setup.sh"
"$repo/scripts/build.sh"

build="$repo/build/x86_64"
demo="$repo/build/demo"
stubpack="$repo/build/native/tools/stubpack/stubpack"
wine_run="$build/wine-run"
mkdir -p "$demo/pki"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY

step() { printf '\n== %s\n' "$*"; }
winpath() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

step "A throw-away code-signing certificate (openssl)"
pki="$demo/pki"
[ -f "$pki/demo-signer.pem" ] || "$repo/tests/harness/make-signing-pki.sh" "$pki" demo
openssl x509 -in "$pki/demo-signer-only.pem" -noout -subject -issuer

step "Packing tools/demo/workflow.json into both builds of the stub, and signing them"
"$stubpack" pack "$repo/build/i686/startup/TarnwickGUI.exe" "$repo/tools/demo/workflow.json" \
  -o "$demo/TarnwickSetup.exe" --cert "$pki/demo-signer.pem" --key "$pki/demo-signer.key" >/dev/null
"$stubpack" pack "$build/startup/TarnwickGUI.exe" "$repo/tools/demo/workflow.json" \
  -o "$demo/TarnwickSetup-x64.exe" --cert "$pki/demo-signer.pem" --key "$pki/demo-signer.key" >/dev/null
"$stubpack" pack "$build/startup/TarnwickGUI.exe" "$repo/tools/demo/workflow.json" \
  -o "$demo/TarnwickSetup-x64-unsigned.exe"
ls -l "$demo"/*.exe
echo "release program (i686): $demo/TarnwickSetup.exe"

session="$build/wine-session"
"$repo/tests/harness/wine-session.sh" start "$build/wineprefix" "$session" >/dev/null
trap '"$repo/tests/harness/wine-session.sh" stop "$build/wineprefix" "$session" >/dev/null' EXIT
"$wine_run" "$build/tests/helpers/certstore.exe" add-root "$(winpath "$pki/demo-ca.der")"
log="$build/wineprefix/drive_c/users/${USER:-root}/Temp/Orvakel-TarnwickGUI-execution.log"

inspector="$build/tests/helpers/wininspect.exe"
log_from() { tail -c +"$(($1 + 1))" "$log" | sed 's/^/  /'; }
log_size() { stat -c %s "$log" 2>/dev/null || echo 0; }
exit_code() { echo "exit code: $1$([ "$1" = 255 ] && echo ' (-1)')"; }

step "The signed stub under Wine (64-bit build; the demo CA is trusted in the Wine prefix) with -debug:
   its window and the Debug box, OK pressed, the workflow's two protocol-handler checks, the window closed"
"$wine_run" "$build/tests/helpers/blockprobe.exe" "$(winpath "$demo/TarnwickSetup-x64.exe")" | head -1 \
  | sed 's/verdict=00000000/signature verdict: 0 (valid and trusted)/'
# With -debug the worker waits at a "Debug" box before it runs the workflow, so
# the window can be seen; the inspector then presses OK.
stub="$demo/TarnwickSetup-x64.exe"
before=$(log_size)
"$wine_run" "$stub" -debug &
stub_pid=$!
if "$wine_run" "$inspector" list --image "$(winpath "$stub")" --class '#32770' --title "Debug" --wait 20000 \
    >/dev/null; then
  "$wine_run" "$inspector" list --image "$(winpath "$stub")" --class '#32770' --visible | sed 's/^/window: /'
  "$wine_run" "$inspector" click --image "$(winpath "$stub")" --class '#32770' --title "Debug" --control id:1
else
  echo "window: (none)"
fi
set +e
wait "$stub_pid"
code=$?
set -e
exit_code "$code"
echo "execution log of this run:"
log_from "$before"

step "The document read back by stubpack inspect"
"$stubpack" inspect "$demo/TarnwickSetup-x64.exe"

step "The same stub unsigned: refused before its document is read"
before=$(log_size)
set +e
"$wine_run" "$demo/TarnwickSetup-x64-unsigned.exe"
code=$?
set -e
exit_code "$code"
echo "execution log of this run (no window):"
log_from "$before"
