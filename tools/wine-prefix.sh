#!/usr/bin/env bash
# Creates (once) a private Wine prefix. Usage: wine-prefix.sh PREFIX [headless|display]
# headless: Wine's null display driver, so windows, DCs and timers work without X.
# display:  the normal X driver, for runs on a real or virtual display.
set -euo pipefail
prefix=$1
mode=${2:-headless}
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/.quoril-ready" ]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  touch "$prefix/.quoril-ready"
fi
if [ ! -f "$prefix/.quoril-nodebugger" ]; then
  # A crashing program must end as a failure at once, not wait in the automatic debugger.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null 2>&1
  wineserver -w
  touch "$prefix/.quoril-nodebugger"
fi
current=$(cat "$prefix/.quoril-mode" 2>/dev/null || true)
if [ "$current" != "$mode" ]; then
  if [ "$mode" = headless ]; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
  fi
  wineserver -w
  echo "$mode" > "$prefix/.quoril-mode"
fi
