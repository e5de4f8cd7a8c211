#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private, headless prefix.
# The prefix is the one tools/wine-prefix.sh made for this build folder.
set -euo pipefail
: "${QUORIL_WINEPREFIX:?QUORIL_WINEPREFIX must name the Wine prefix of the build tree}"
export WINEPREFIX="$QUORIL_WINEPREFIX"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
