#!/usr/bin/env bash
# The main job: sets up the machine (as root), builds, and runs the road of one
# run of the release program (the i686 build) under Wine on a private Xvfb
# display. A signed, versioned Setup.exe
# (the stand-in installer) goes into a RAR package behind a self-extractor head,
# signed again; a local server started here serves it. The demo stub, packed
# with tools/demo/workflow.json and signed with a throw-away certificate whose
# CA the prefix trusts, downloads the package, verifies its publisher, unpacks
# it, adds arguments by the installer's version, runs it and waits. The script
# shows the window's states (screenshots when ImageMagick's import is there),
# the execution log and the installer's command line, then the same stub
# refused unsigned, and stops everything it started.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/scripts/setup.sh"
"$repo/scripts/build.sh"

build="$repo/build/x86_64"
demo="$repo/build/demo"
stubpack="$repo/build/native/tools/stubpack/stubpack"
wine_run="$build/wine-run"
helpers="$build/tests/programs"
python=/usr/bin/python3  # Debian's, with the modules set-up installs (pefile), as the tests use
mkdir -p "$demo/pki"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy

step() { printf '\n== %s\n' "$*"; }
winpath() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

step "A throw-away code-signing certificate (openssl)"
pki="$demo/pki"
[ -f "$pki/demo-signer.pem" ] || "$repo/tests/scenarios/kit/make-signing-pki.sh" "$pki" demo
openssl x509 -in "$pki/demo-signer-only.pem" -noout -subject -issuer

step "The product package: Setup.exe (version 3.2.1.0) signed, in a RAR behind a self-extractor head, signed"
package="$demo/TarnwickDemo_Setup.exe"
PYTHONPATH="$repo/tests/scenarios" "$python" -m kit.package "$helpers/versionedinstaller.exe" \
  "$helpers/standininstaller.exe" "$pki/demo-signer.pem" "$pki/demo-signer.key" "$package" 6
ls -l "$package"
rar lb "$package"

step "A local server for the package on 127.0.0.1"
port_file="$demo/server.port"
rm -f "$port_file"
"$python" "$repo/tools/demo/serve.py" "$port_file" "$package" > "$demo/server.log" 2>&1 &
server_pid=$!
session="$build/wine-session"
cleanup() {
  kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  "$repo/tests/wine/wine-session.sh" stop "$build/wineprefix" "$session" >/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$port_file" ] && break; sleep 0.1; done
port=$(cat "$port_file")
echo "serving http://127.0.0.1:$port/$(basename "$package")"

step "Packing the road's document into the release program (i686), and signing it"
document="$demo/workflow.json"
sed "s/@PORT@/$port/" "$repo/tools/demo/workflow.json" > "$document"
"$stubpack" pack "$repo/build/i686/startup/TarnwickGUI.exe" "$document" \
  -o "$demo/TarnwickSetup.exe" --cert "$pki/demo-signer.pem" --key "$pki/demo-signer.key" >/dev/null
run="$demo/run"
rm -rf "$run"
mkdir -p "$run/records" "$demo/screenshots"
rm -f "$demo/screenshots"/*.png
cp "$demo/TarnwickSetup.exe" "$run/TarnwickSetup.exe"
"$stubpack" pack "$repo/build/i686/startup/TarnwickGUI.exe" "$document" -o "$demo/TarnwickSetup-unsigned.exe"
ls -l "$demo"/*.exe "$run"/*.exe
echo "release program (i686): $demo/TarnwickSetup.exe"

"$repo/tests/wine/wine-session.sh" start "$build/wineprefix" "$session" >/dev/null
display=":$(cat "$session/display")"
"$wine_run" "$helpers/stores.exe" add-root "$(winpath "$pki/demo-ca.der")"
log="$build/wineprefix/drive_c/users/${USER:-root}/Temp/Orvakel-TarnwickGUI-execution.log"

inspector="$helpers/wininspect.exe"
log_from() { tail -c +"$(($1 + 1))" "$log" | sed 's/^/  /'; }
log_size() { stat -c %s "$log" 2>/dev/null || echo 0; }
exit_code() { echo "exit code: $1$([ "$1" = 255 ] && echo ' (-1)')"; }
shots=0
# screenshot NAME [CHECK]: a picture of the screen; with CHECK, a command that
# must still succeed after the picture was taken (the window still shows what
# the picture is named after), or the picture is dropped.
screenshot() {
  if command -v import >/dev/null; then
    local file="$demo/screenshots/taking.png"
    DISPLAY=$display import -window root "$file" || return 0
    if [ -n "${2:-}" ] && ! $2; then
      rm -f "$file"
      echo "  (no screenshot of $1: the state passed before its picture was taken)"
      return 0
    fi
    shots=$((shots + 1))
    mv "$file" "$demo/screenshots/$(printf '%02d' "$shots")-$1.png"
    echo "  screenshot: $demo/screenshots/$(printf '%02d' "$shots")-$1.png"
  elif [ "$shots" = 0 ]; then
    shots=-1
    echo "  (no screenshots: ImageMagick's import is not installed)"
  fi
}

step "The signed release program (i686, 32-bit) under Wine with -debug: the Debug box, OK pressed,
   then the road: download with progress, verify, unpack, arguments by version, the installer run"
stub="$run/TarnwickSetup.exe"
if osslsigncode verify -CAfile "$pki/demo-ca.pem" -in "$stub" >/dev/null 2>&1; then
  echo "signature: valid, its chain ends in the demo CA (osslsigncode verify)"
else
  echo "signature: NOT valid (osslsigncode verify)"
fi
before=$(log_size)
# The stand-in installer records its command line into this folder.
TARNWICK_INSTALLER_RECORDS=$(winpath "$run/records") "$wine_run" "$stub" -debug &
stub_pid=$!
image=$(winpath "$stub")
if "$wine_run" "$inspector" list --image "$image" --class '#32770' --title "Debug" --wait 20000 >/dev/null; then
  "$wine_run" "$inspector" list --image "$image" --class '#32770' | sed 's/^/window: /'
  screenshot debug-box
  "$wine_run" "$inspector" click --image "$image" --class '#32770' --title "Debug" --control id:1
else
  echo "window: (none)"
fi
# Follows the main window's status line until the process ends; one screenshot per new state.
# A failure shown in the window, or a run longer than two minutes, has its windows closed.
main=$("$wine_run" "$inspector" list --image "$image" --class '#32770' 2>/dev/null \
  | grep -v 'text=Debug$' | head -1 | sed 's/^hwnd=\([^\t]*\).*/\1/' || true)
status_text() {
  "$wine_run" "$inspector" list --hwnd "$main" --control id:1002 2>/dev/null | tr -d '\r' | sed 's/.*\ttext=//' || true
}
# The window is still there, visible, and shows the state of kind.
still_shown() {
  "$wine_run" "$inspector" list --hwnd "$main" 2>/dev/null | grep -q 'visible=1' &&
    [ "$(status_text | sed 's/[^A-Za-z].*//')" = "$kind" ]
}
last=""
deadline=$((SECONDS + 120))
while [ -n "$main" ] && kill -0 "$stub_pid" 2>/dev/null; do
  if [ "$SECONDS" -ge "$deadline" ]; then
    echo "the run takes too long: its windows are closed"
    "$wine_run" "$inspector" close --image "$image" --class '#32770' --all >/dev/null || true
    break
  fi
  status=$(status_text)
  bar=$("$wine_run" "$inspector" progress --hwnd "$main" --control id:1001 2>/dev/null | tr -d '\r' || true)
  kind=$(printf '%s' "$status" | sed 's/[^A-Za-z].*//')
  if [ -n "$status" ] && [ "$kind" != "$last" ]; then
    last=$kind
    echo "window state: \"$status\"  [$bar]"
    screenshot "$(printf '%s' "$kind" | tr 'A-Z' 'a-z')" still_shown
    case $kind in
      Initializing|Downloading|Extracting) ;;
      *) echo "the run failed: its window is closed"
         "$wine_run" "$inspector" close --hwnd "$main" >/dev/null || true
         break ;;
    esac
  fi
done
set +e
wait "$stub_pid"
code=$?
set -e
road_code=$code
exit_code "$code"
echo "execution log of this run:"
log_from "$before"
echo "the installer's record (its path, command line, working folder):"
cat "$run"/records/record-*.txt 2>/dev/null | sed 's/^/  /' || echo "  (none: the installer did not run)"
kill "$server_pid" && wait "$server_pid" || true
echo "the requests the package server answered:"
sed 's/^/  /' "$demo/server.log"

step "The same release program unsigned: refused before its document is read"
before=$(log_size)
set +e
"$wine_run" "$demo/TarnwickSetup-unsigned.exe"
code=$?
set -e
exit_code "$code"
echo "execution log of this run (no window):"
log_from "$before"
# The demo fails when the road did not hold: a non-zero exit or no installer run.
[ "$road_code" = 0 ] && [ -s "$run/records/record-1.txt" ]
