#!/usr/bin/env bash
# Runs a Windows program on a private virtual display and saves a screenshot once its window shows.
# Usage: screenshot.sh EXE PNG [window-title]. WINEPREFIX must name a prefix made with the X driver.
set -euo pipefail
exe=$1; png=$2; title=${3:-}
mkdir -p "$(dirname "$png")"
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$pid" 2>/dev/null || true; WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; }
pid=
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
wine "$exe" &
pid=$!
# Wait (bounded) for a mapped window of the program, then give it a moment to paint.
found=
for _ in $(seq 150); do
  if [ -n "$title" ]; then
    found=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1 || true)
  else
    found=$(xdotool search --onlyvisible --class "quoril.exe" 2>/dev/null | head -n1 || true)
  fi
  [ -n "$found" ] && break
  sleep 0.2
done
[ -n "$found" ] || { echo "no window appeared" >&2; exit 1; }
sleep 1
import -window root "$png"
