#!/usr/bin/env bash
# Starts or stops what a test run shares: a private Xvfb display and a
# persistent wineserver for the build's prefix (each Wine program then starts in
# a fraction of a second instead of two).
#   wine-session.sh start|stop PREFIX SESSION_DIR
set -euo pipefail
action=$1 prefix=$2 session=$3
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all

start() {
  mkdir -p "$session"
  stop_xvfb
  "$here/wine-prefix.sh" "$prefix"
  : > "$session/display"
  # -displayfd picks a free display number and writes it once the server listens.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$session/display" </dev/null >"$session/xvfb.log" 2>&1 &
  echo $! > "$session/xvfb.pid"
  for _ in $(seq 100); do [ -s "$session/display" ] && break; sleep 0.1; done
  [ -s "$session/display" ] || { echo "Xvfb did not start" >&2; cat "$session/xvfb.log" >&2; exit 1; }
  echo "Xvfb on display :$(cat "$session/display")"
  # Ends by itself 10 minutes after its last client, should stop never run.
  /usr/lib/wine/wineserver64 -p600 </dev/null >/dev/null 2>&1 || true
  DISPLAY=":$(cat "$session/display")" "$here/wine64" cmd /c exit 0 </dev/null >/dev/null 2>&1
  echo "wineserver running for $prefix"
}

stop_xvfb() {
  if [ -s "$session/xvfb.pid" ]; then
    kill "$(cat "$session/xvfb.pid")" 2>/dev/null || true
    rm -f "$session/xvfb.pid"
  fi
}

stop() {
  /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  stop_xvfb
  : > "$session/display" 2>/dev/null || true
  echo "session stopped"
}

case $action in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop PREFIX SESSION_DIR" >&2; exit 2 ;;
esac
