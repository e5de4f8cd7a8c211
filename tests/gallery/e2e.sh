#!/usr/bin/env bash
# End to end: the real SkinUIGallery.exe under Wine on a private virtual display. It checks that the
# window is 800 x 630 and centred, selects every page with a real click on its page button and
# compares a screenshot of the window with the committed reference (tests/gallery/data/page-*.png,
# with the e2e tolerance), operates a control on each page with xdotool (clicks a button in the
# child layout, checks a box, types into an edit, picks a combo item, drags the slider, selects a
# list row, selects a virtual list's row, then its last, then sorts it, folds and unfolds a tree
# node and checks its box) and reads the status line the gallery appends to its log file for the
# matching notification. The slider must move the progress bar
# too. After the page with the ActiveX control and the web browser the window must still answer;
# Escape ends the program with exit code 0.
#
# With QUORIL_E2E_DPI (LogPixels of the prefix, 96 unless set) the window, the clicks and the
# screenshots scale with it: 1200 x 945 at 144, compared with page-*-144dpi.png (whose status line
# shows "144 DPI (150 %)").
#
# Usage: e2e.sh GALLERY_EXE WORKDIR      QUORIL_E2E_UPDATE=1 writes the reference screenshots.
set -euo pipefail
export LC_ALL=C

exe=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
references="$here/data"

mkdir -p "$work"
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all
# shellcheck source=../program/program-run.sh
source "$root/tests/program/program-run.sh"
require_tools "gallery e2e" Xvfb xdotool xprop import compare convert xdpyinfo wine wineserver
require_files "gallery e2e" "$exe" "$(dirname "$exe")/testctl.dll"
"$root/tools/wine-prefix.sh" "$WINEPREFIX" display
set_prefix_dpi
export WINEDLLOVERRIDES="mscoree,mshtml="
start_virtual_display "$work"

# The gallery's status lines, through Wine's drive Z: (the Unix root).
log="$work/status.log"
: >"$log"
export SKINUI_GALLERY_LOG="Z:${log//\//\\}"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Waits (bounded) until the log holds exactly this line after the first `seen` lines; the lines
# read so far are then skipped by the next wait.
seen=0
expect_status() { # what line
  local total found
  for _ in $(seq 50); do
    total=$(wc -l <"$log")
    found=$(tail -n +"$((seen + 1))" "$log" | head -n "$((total - seen))" | grep -Fxn -- "$2" | head -n 1 | cut -d: -f1 || true)
    if [ -n "$found" ]; then
      seen=$((seen + found))
      return 0
    fi
    sleep 0.1
  done
  fail "$1: the status line never showed '$2' (see $log)"
}

# Window coordinates from here on, given in 96-DPI pixels of the skin; the pointer rests on the
# status line, where nothing is hot.
wx=0
wy=0
ww=$(px 800)
wh=$(px 630)
at() { echo $((wx + $(px "$1"))) $((wy + $(px "$2"))); }
click() { xdotool mousemove $(at "$1" "$2") click 1; }
rest() { xdotool mousemove $(at 790 615); }

# Page buttons along the top (centres), in page order, and the reference of each page.
pages=(layouts basics input list tree hosted)
page_x=(68 189 310 422 548 674)

select_page() { # index
  click "${page_x[$1]}" 68
  rest
  expect_status "page ${pages[$1]}" "tabselect from pages: page $1 (was $current)"
  current=$1
  local matched=
  differing=
  rm -f "$work/page-${pages[$1]}-previous.png"
  for _ in $(seq 40); do
    if shot_matches_reference "$wx" "$wy" "$ww" "$wh" "$work/page-${pages[$1]}.png" \
      "$references/page-${pages[$1]}$(dpi_suffix).png"; then
      matched=1
      break
    fi
    sleep 0.25
  done
  [ -n "$matched" ] || fail "page ${pages[$1]} differs from its reference: ${differing:-?} pixels (see $work/page-${pages[$1]}-diff.png)"
}

# Whether the pixel at window x y is the progress fill's blue rather than the grey track.
is_fill_blue() { # x y
  local rgb red blue
  local x y
  read -r x y <<<"$(at "$1" "$2")"
  rgb=$(import -window root -crop 1x1+$x+$y +repage -format '%[fx:int(255*r)] %[fx:int(255*b)]' info: 2>/dev/null)
  read -r red blue <<<"$rgb"
  [ "${blue:-0}" -gt 180 ] && [ "${red:-255}" -lt 120 ]
}

operate_basics() {
  click 545 290
  expect_status "check box" "selectchanged from chkUpdates: checked"
  click 545 216
  expect_status "option" "selectchanged from optLarge: selected"
}

operate_input() {
  click 200 184
  xdotool type --delay 40 gallery
  expect_status "edit" 'textchanged from edtName: text "gallery"'
  click 600 158
  expect_status "combo" "dropdown from cboFruit: wParam 0, lParam 0"
  sleep 0.3
  # The drop-down lists the rows 26 pixels high under the combo: the fourth is "Grape".
  click 600 264
  expect_status "combo" 'itemselect from cboFruit: item 3 "Grape"'
  is_fill_blue 310 408 && fail "progress bar full at 70% before the slider moved"
  xdotool mousemove $(at 195 376) mousedown 1
  for step in 1 2 3 4 5 6; do xdotool mousemove $(at $((195 + 25 * step)) 376); sleep 0.05; done
  xdotool mouseup 1
  expect_status "slider" "valuechanged from sldLevel: value 80"
  local filled=
  for _ in $(seq 20); do
    is_fill_blue 310 408 && { filled=1; break; }
    sleep 0.1
  done
  [ -n "$filled" ] || fail "the slider at 80 did not fill the progress bar past 70%"
  rest
}

operate_list() {
  click 300 190
  expect_status "list" 'itemselect from lstRows: item 2 "Row 003"'
  # The million-row list under it: its third row, then End, then a caption that sorts.
  click 300 458
  expect_status "virtual list" 'itemselect from vlsMillion: item 2, 1 selected'
  xdotool key End
  expect_status "virtual list end" 'itemselect from vlsMillion: item 999999, 1 selected'
  click 100 386
  expect_status "virtual list sort" 'columnclick from vlsMillion: column 0'
  rest
}

operate_tree() {
  click 35 151
  expect_status "tree fold" 'selectchanged from folder of "Skin": collapsed'
  click 35 151
  expect_status "tree unfold" 'selectchanged from folder of "Skin": expanded'
  click 53 307
  expect_status "tree check" 'selectchanged from check box of "Tools": checked'
}

operate_layouts() {
  click 679 375
  expect_status "child layout button" "click from btnChild: wParam 0, lParam 0"
  # A click on the rail right of the thumb moves the 400-pixel bar one page.
  click 400 526
  expect_status "scroll bar" "scroll from sbStandalone: value 400"
}

wine "$exe" >"$work/gallery.log" 2>&1 &
pid=$!
if main=$(wait_window "SkinUI Gallery"); then
  # Centred on the 1280 x 1024 screen.
  ex=$((640 - ww / 2))
  ey=$((512 - wh / 2))
  read -r wx wy w h <<<"$(wait_geometry "$main" "$ex $ey $ww $wh")"
  [ "$w $h" = "$ww $wh" ] || fail "window is ${w}x${h}, expected ${ww}x${wh}"
  [ "$wx $wy" = "$ex $ey" ] || fail "window at $wx,$wy, expected $ex,$ey"
  rest
  current=0
  for index in 1 2 3 4 5 0; do
    select_page "$index"
    case "${pages[$index]}" in
      basics) operate_basics ;;
      input) operate_input ;;
      list) operate_list ;;
      tree) operate_tree ;;
      layouts) operate_layouts ;;
      hosted) ;;  # the ActiveX control and the browser: the next page button must still answer
    esac
  done
  # A click on the background gives the window the keyboard; Escape closes it.
  click 790 615
  xdotool key Escape
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    fail "the program did not end after Escape"
  else
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "exit code $status after Escape, expected 0"
  fi
else
  fail "no window titled 'SkinUI Gallery' appeared"
fi
wine_idle || fail "Wine processes were still running after the run"

if [ "$failures" -gt 0 ]; then
  echo "gallery e2e: $failures failure(s); screenshots and the status log in $work" >&2
  exit 1
fi
echo "gallery e2e: every page and operation passed"
