#!/usr/bin/env bash
# Builds Quoril.exe and runs it under Wine. With a display it shows the window; without one it runs
# the program on a virtual display (Xvfb), saves a screenshot to build/screenshots/quoril.png and
# ends the program. The DNS commands it starts are Wine's own stand-ins: nothing on this machine changes.
# `./run.sh gallery` does the same for SkinUIGallery.exe (screenshot build/screenshots/gallery.png).
set -euo pipefail
cd "$(dirname "$0")"
case "${1:-}" in
  "") program=Quoril; title=; shot=quoril.png ;;
  gallery) program=SkinUIGallery; title="SkinUI Gallery"; shot=gallery.png ;;
  *) echo "usage: ./run.sh [gallery]" >&2; exit 2 ;;
esac
tools/setup.sh mingw-release "$program"
exe="$PWD/build/mingw-release/$program.exe"
prefix="$PWD/build/mingw-release/wineprefix"
tools/wine-prefix.sh "$prefix" display
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine "$exe"
fi

tools/screenshot.sh "$exe" "$PWD/build/screenshots/$shot" "$title"
echo "Screenshot: build/screenshots/$shot"
