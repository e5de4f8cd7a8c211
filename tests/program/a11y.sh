#!/usr/bin/env bash
# Assistive technology end to end: the real Quoril.exe under Wine on a private virtual display, in
# Chinese and in English, read by a separate client process through MSAA only. For each language the
# client prints the accessible tree of the window (role, name, state, value of every object), then
# presses Tab through every tab stop while an out-of-context WinEvent hook listens, printing the
# object each focus event names. Both outputs are compared with the committed expectations
# (tests/program/data/a11y-*.txt); QUORIL_E2E_UPDATE=1 writes them instead.
#
# Usage: a11y.sh QUORIL_EXE RECORDER_EXE CLIENT_EXE WORKDIR
# DNS commands go to the recorder stand-ins, as in e2e.sh; no button is pressed here anyway.
set -euo pipefail
export LC_ALL=C

exe=$(realpath "$1")
recorder=$(realpath "$2")
client=$(realpath "$3")
work=$(realpath -m "$4")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
expectations="$here/data"

mkdir -p "$work"
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all
# shellcheck source=program-run.sh
source "$here/program-run.sh"
require_tools a11y Xvfb xdotool xprop xdpyinfo wine wineserver
require_files a11y "$exe" "$recorder" "$client"
"$root/tools/wine-prefix.sh" "$WINEPREFIX" display
use_recorder "$recorder" quoril-a11y
start_virtual_display "$work"

failures=0
fail() { echo "FAIL [$lang]: $*" >&2; failures=$((failures + 1)); }

expect_output() { # what actual-file
  text_matches_expectation "$2" "$expectations/a11y-$lang-$1.txt" "$work/diff-$lang-$1.txt" || fail "$1: $differing"
}

run_language() { # locale short-name
  lang=$2
  LANG="$1.UTF-8" LC_ALL="$1.UTF-8" wine "$exe" >"$work/quoril-$lang.log" 2>&1 &
  pid=$!
  if wait_window Quoril >/dev/null; then
    # The status line settles once the connections are known.
    sleep 2
    if timeout 60 wine "$client" tree Quoril >"$work/tree-$lang.txt" 2>"$work/client-$lang.log"; then
      expect_output tree "$work/tree-$lang.txt"
    else
      fail "the client could not read the tree (see $work/client-$lang.log)"
    fi
    # Once round the seven tab stops: the walk ends when the first one has the focus again.
    if timeout 120 wine "$client" tab Quoril 20 >"$work/tab-$lang.txt" 2>>"$work/client-$lang.log"; then
      expect_output tab "$work/tab-$lang.txt"
    else
      fail "the client could not follow the focus (see $work/client-$lang.log)"
    fi
  else
    fail "no window appeared"
  fi
  kill "$pid" 2>/dev/null || true
  pid=
  wine_idle || fail "Wine processes were still running after the run"
}

run_language zh_CN zh
run_language en_US en

if [ "$failures" -gt 0 ]; then
  echo "a11y: $failures failure(s); outputs in $work" >&2
  exit 1
fi
echo "a11y: both languages passed"
