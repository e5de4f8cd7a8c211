#!/usr/bin/env bash
# Builds Quoril.exe and runs it under Wine. With a display it shows the window; without one it runs
# the program on a virtual display (Xvfb), saves a screenshot to build/screenshots/quoril.png and
# ends the program. The DNS commands it starts are Wine's own stand-ins: nothing on this machine changes.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh mingw-release Quoril
exe="$PWD/build/mingw-release/Quoril.exe"
prefix="$PWD/build/mingw-release/wineprefix"
tools/wine-prefix.sh "$prefix" display
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine "$exe"
fi

tools/screenshot.sh "$exe" "$PWD/build/screenshots/quoril.png"
echo "Screenshot: build/screenshots/quoril.png"
