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
run_stub() {
  local stub=$1 window_wait_ms=$2 before code watcher
  before=$(stat -c %s "$log" 2>/dev/null || echo 0)
  # The inspector waits for the stub's main window and shows it as it finds it.
  { "$wine_run" "$inspector" list --image "$(winpath "$stub")" --class '#32770' --visible \
      --wait "$window_wait_ms" || echo "(none)"; } | sed 's/^/window: /' &
  watcher=$!
  sleep 1
  set +e
  "$wine_run" "$stub"
  code=$?
  set -e
  wait "$watcher" || true
  echo "exit code: $code$([ "$code" = 255 ] && echo ' (-1)')"
  echo "execution log of this run:"
  tail -c +"$((before + 1))" "$log" | sed 's/^/  /'
}

step "The signed stub under Wine (64-bit build; the demo CA is trusted in the Wine prefix): its window,
   the two protocol-handler checks of the workflow, the window closed at the end"
"$wine_run" "$build/tests/helpers/blockprobe.exe" "$(winpath "$demo/TarnwickSetup-x64.exe")" | head -1 \
  | sed 's/verdict=00000000/signature verdict: 0 (valid and trusted)/'
run_stub "$demo/TarnwickSetup-x64.exe" 20000

step "The document read back by stubpack inspect"
"$stubpack" inspect "$demo/TarnwickSetup-x64.exe"

step "The same stub unsigned: refused before its document is read"
run_stub "$demo/TarnwickSetup-x64-unsigned.exe" 3000
