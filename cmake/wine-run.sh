#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private, headless prefix.
# The prefix is the one tools/wine-prefix.sh made for this build folder.
set -euo pipefail
: "${QUORIL_WINEPREFIX:?QUORIL_WINEPREFIX must name the Wine prefix of the build tree}"
export WINEPREFIX="$QUORIL_WINEPREFIX"
# QUORIL_TEST_DPI: run in a sibling prefix whose display scale (the user's LogPixels) is that DPI.
if [ -n "${QUORIL_TEST_DPI:-}" ]; then
  case "$QUORIL_TEST_DPI" in *[!0-9]* | "") echo "QUORIL_TEST_DPI must be a number" >&2; exit 2 ;; esac
  export WINEPREFIX="$QUORIL_WINEPREFIX-dpi$QUORIL_TEST_DPI"
  "$(dirname "$0")/../tools/wine-prefix.sh" "$WINEPREFIX" headless
  if [ "$(cat "$WINEPREFIX/.quoril-dpi" 2>/dev/null || true)" != "$QUORIL_TEST_DPI" ]; then
    WINEDEBUG=-all wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QUORIL_TEST_DPI" /f >/dev/null 2>&1
    wineserver -w
    echo "$QUORIL_TEST_DPI" >"$WINEPREFIX/.quoril-dpi"
  fi
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
