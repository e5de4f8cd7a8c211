#!/usr/bin/env bash
# Assistive technology end to end for the gallery: the real SkinUIGallery.exe under Wine on a
# private virtual display, read by a separate client process through MSAA only. The client selects
# every page through its page tab's default action, prints the accessible tree and presses Tab round
# the page while an out-of-context WinEvent hook listens; then it opens a combo and reads its rows.
# The outputs are compared with tests/gallery/data/a11y-*.txt; QUORIL_E2E_UPDATE=1 writes them
# instead.
#
# Usage: a11y.sh GALLERY_EXE CLIENT_EXE WORKDIR
set -euo pipefail
export LC_ALL=C

exe=$(realpath "$1")
client=$(realpath "$2")
work=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
expectations="$here/data"

mkdir -p "$work"
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all
# shellcheck source=../program/program-run.sh
source "$root/tests/program/program-run.sh"
require_tools "gallery a11y" Xvfb xdotool xprop xdpyinfo wine wineserver
require_files "gallery a11y" "$exe" "$client" "$(dirname "$exe")/testctl.dll"
"$root/tools/wine-prefix.sh" "$WINEPREFIX" display
export WINEDLLOVERRIDES="mscoree,mshtml="
start_virtual_display "$work"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# The date picker starts at today's date, which it reads out in the ISO form or, as the name of a
# focused field, in the en_US short form: either reads as <today> in the expectations.
expect_output() { # what actual-file
  sed -i -e "s/\"$(date +%F)\"/\"<today>\"/" -e "s|\"$(date +%-m/%-d/%Y)\"|\"<today>\"|" "$2"
  text_matches_expectation "$2" "$expectations/a11y-$1.txt" "$work/diff-$1.txt" || fail "$1: $differing"
}

title="SkinUI Gallery"
LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 wine "$exe" >"$work/gallery.log" 2>&1 &
pid=$!
wait_window "$title" >/dev/null || { echo "gallery a11y: no window appeared" >&2; exit 1; }
sleep 2

# Every page is chosen through its page tab's default action, read, and then walked with Tab once
# round (the walk ends when the focus is back where the first press put it): every tab stop of the
# page, the page tabs and the close button, each focus change heard with the object it names.
pages=(Layouts "Text & buttons" Input List "Tree & rich edit" Hosted)
for i in "${!pages[@]}"; do
  page=${pages[$i]}
  if timeout 60 wine "$client" do "$title" "$page" "page tab" 2>>"$work/client.log"; then
    timeout 60 wine "$client" tree "$title" >"$work/page-$i.txt" 2>>"$work/client.log" || fail "page $page: no tree"
    expect_output "page-$i" "$work/page-$i.txt"
    timeout 180 wine "$client" tab "$title" 60 >"$work/tab-$i.txt" 2>>"$work/client.log" || fail "page $page: no Tab walk"
    expect_output "tab-$i" "$work/tab-$i.txt"
  else
    fail "page $page: its page tab could not be operated (see $work/client.log)"
  fi
done

# A combo opened by its default action shows its rows; its default action closes it again.
if timeout 60 wine "$client" do "$title" Input "page tab" 2>>"$work/client.log" \
  && timeout 60 wine "$client" do "$title" Combo "combo box" 2>>"$work/client.log"; then
  timeout 60 wine "$client" tree "$title" >"$work/combo-open.txt" 2>>"$work/client.log" || fail "open combo: no tree"
  expect_output combo-open "$work/combo-open.txt"
  timeout 60 wine "$client" do "$title" Combo "combo box" 2>>"$work/client.log" || fail "the open combo did not close"
else
  fail "the combo could not be opened (see $work/client.log)"
fi

kill "$pid" 2>/dev/null || true
pid=
wine_idle || fail "Wine processes were still running after the run"
if [ "$failures" -gt 0 ]; then
  echo "gallery a11y: $failures failure(s); outputs in $work" >&2
  exit 1
fi
echo "gallery a11y: every page passed"
