#!/usr/bin/env bash
# Creates the Wine prefix given as the argument, once (about 16 s), where both
# builds run (syswow64 for the i686 one); later calls return
# at once. Safe to call from several processes at the same time.
set -euo pipefail
prefix=$1
# Ready once made with 32-bit Wine as well: a prefix made before wine32 was
# installed is brought up to date (syswow64) by another wineboot -u.
ready() { [ -f "$prefix/.tarnwick-ready" ] && [ -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; }
ready && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
ready && exit 0
export WINEPREFIX=$prefix WINEDEBUG=-all
# No Mono or Gecko: their installers would try to download.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
"$(dirname "$0")/wine64" wineboot -u >/dev/null 2>&1
# Without a window manager on Xvfb, let Wine draw the caption bars itself.
"$(dirname "$0")/wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver64 -w
touch "$prefix/.tarnwick-ready"
