#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine, headless. Safe to run again: it only
# installs what is missing and rebuilds what changed. Extra arguments go to ctest (e.g. -R core).
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh mingw-debug
tools/wine-prefix.sh "$PWD/build/mingw-debug/wineprefix" headless
ctest --preset mingw-debug "$@"
