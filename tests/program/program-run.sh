# Sourced by the scripts that run a real program under Wine on a virtual display (e2e.sh,
# dll-planting.sh, a11y.sh, tests/gallery/e2e.sh, tests/gallery/a11y.sh and
# tests/install/install.sh), once WINEPREFIX names the script's own prefix. Whatever happens once
# it is sourced (a failed check, set -e, a signal, ctest's time-out), the program (`pid`, set by the
# caller while it runs), every other Wine process of the prefix and the virtual display go with the
# script. It also holds the helpers those scripts share: checking what they need, setting up the
# prefix, finding windows by title, their geometry, screenshots compared with committed references
# and text output with committed expectations.
pid=
xvfb=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  timeout 20 wineserver -k 2>/dev/null || true
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# Starts a private Xvfb (1280 x 1024) and exports DISPLAY. Xvfb picks a display number nobody uses
# and writes it once it accepts connections, so parallel runs (and other users' servers) never
# collide. A loaded machine can take many seconds for a first start, and a server can lose a race
# for a display number and exit, so each start may take 30 s and a dead server is started again, up
# to three times; a failure shows the server's own words. Usage: start_virtual_display WORKDIR
start_virtual_display() {
  local displayfile="$1/display" log="$1/xvfb.log" attempt
  for attempt in 1 2 3; do
    : >"$displayfile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >"$log" 2>&1 &
    xvfb=$!
    for _ in $(seq 300); do
      grep -qE '^[0-9]+$' "$displayfile" && break
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
    grep -qE '^[0-9]+$' "$displayfile" && break
    echo "Xvfb start $attempt of 3 failed; its log:" >&2
    sed 's/^/  /' "$log" >&2
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=
  done
  [ -n "$xvfb" ] || { echo "Xvfb did not start (see $log)" >&2; exit 1; }
  export DISPLAY=":$(head -n 1 "$displayfile")"
  xdpyinfo >/dev/null 2>&1 || { echo "cannot reach Xvfb on $DISPLAY" >&2; exit 1; }
}

# End the script unless every named tool is on PATH, or every named file exists.
# Usage: require_tools WHO TOOL...; require_files WHO FILE...
require_tools() {
  local who=$1 tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$who: $tool is missing (tools/setup.sh installs it)" >&2; exit 1; }
  done
}
require_files() {
  local who=$1 file
  shift
  for file in "$@"; do
    [ -f "$file" ] || { echo "$who: no file $file" >&2; exit 1; }
  done
}

# The stand-ins: the recorder as netsh and ipconfig in the prefix's system folder, and as the
# "browser" C:\FOLDER\browser.exe that the http class names. Usage: install_stand_ins RECORDER FOLDER
install_stand_ins() {
  local recorder=$1 folder=$2
  local system32="$WINEPREFIX/drive_c/windows/system32"
  install -m 755 "$recorder" "$system32/netsh.exe"
  install -m 755 "$recorder" "$system32/ipconfig.exe"
  mkdir -p "$WINEPREFIX/drive_c/$folder"
  install -m 755 "$recorder" "$WINEPREFIX/drive_c/$folder/browser.exe"
  timeout 60 wine reg delete 'HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations\Http\UserChoice' /f >/dev/null 2>&1 || true
  # The shell opens the page's address with the http class's command; the address unquoted, so the
  # browser's command line is "<browser> <address>".
  timeout 60 wine reg add 'HKCR\HTTP\shell\open\command' /ve /d "\"C:\\$folder\\browser.exe\" %1" /f >/dev/null 2>&1
  # DNS settings saved by an earlier run would be put back by this run's restore.
  timeout 60 wine reg delete 'HKLM\Software\Quoril' /f >/dev/null 2>&1 || true
  timeout 60 wine reg delete 'HKCU\Software\Quoril' /f >/dev/null 2>&1 || true
}

# The prefix's netsh, ipconfig and browser become the recorder (install_stand_ins), taken before
# Wine's own, the prefix runs until idle, and the recorder logs to C:\FOLDER\commands.log: nothing
# the tests start can reach the machine's network settings. Usage: use_recorder RECORDER FOLDER
use_recorder() {
  export WINEDLLOVERRIDES="mscoree,mshtml=;netsh.exe=n;ipconfig.exe=n"
  install_stand_ins "$1" "$2"
  wine_idle
  export QUORIL_RECORDER_LOG="C:\\$2\\commands.log"
}

# The display scale of the run: QUORIL_E2E_DPI, 96 unless set. set_prefix_dpi writes it to the
# prefix's LogPixels (the user's value wins over the machine's); px turns a length in 96-DPI pixels
# into pixels at this scale, rounded as the programs round; dpi_suffix names the references of a
# scale other than 96 ("-144dpi").
dpi=${QUORIL_E2E_DPI:-96}
set_prefix_dpi() {
  timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  timeout 60 wineserver -w
}
px() { echo $((($1 * dpi + 48) / 96)); }
dpi_suffix() { [ "$dpi" = 96 ] || echo "-${dpi}dpi"; }

# Waits, bounded, until no process of the prefix is left; a process still there is ended.
wine_idle() {
  timeout 60 wineserver -w && return 0
  echo "e2e: Wine processes did not end within 60 s; ending them" >&2
  timeout 20 wineserver -k 2>/dev/null || true
  return 1
}

# The visible window whose title (the UTF-8 _NET_WM_NAME: WM_NAME cannot hold Chinese) is exactly
# the given text; prints its id.
find_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    if [ "$(LC_ALL=C.UTF-8 xprop -id "$id" _NET_WM_NAME 2>/dev/null)" = "_NET_WM_NAME(UTF8_STRING) = \"$1\"" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
wait_window() {
  for _ in $(seq 100); do
    find_window "$1" && return 0
    sleep 0.2
  done
  return 1
}
wait_no_window() {
  for _ in $(seq 100); do
    find_window "$1" >/dev/null || return 0
    sleep 0.2
  done
  return 1
}
geometry() { # id -> X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y $WIDTH $HEIGHT"
}
# Polls the window's geometry until it is the expected one (bounded); prints the last one seen.
wait_geometry() { # id "X Y WIDTH HEIGHT" (a "*" field matches anything)
  local now
  for _ in $(seq 50); do
    now=$(geometry "$1")
    # shellcheck disable=SC2254
    case "$now" in $2) break ;; esac
    sleep 0.1
  done
  echo "$now"
}

# Screenshot of the screen region x y w h into SHOT; true when it matches the committed REFERENCE:
# pixels differing by more than 10% per channel (text rasterisation varies) may be at most 1% of the
# region; `differing` says why not. With QUORIL_E2E_UPDATE=1 the shot becomes the new reference
# instead, once two shots in a row agree (the window has finished painting).
shot_matches_reference() { # x y w h shot reference
  local x=$1 y=$2 w=$3 h=$4 shot=$5 reference=$6
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
  if [ "${QUORIL_E2E_UPDATE:-}" = 1 ]; then
    local previous="${shot%.png}-previous.png"
    if [ -f "$previous" ] && [ "$(compare -metric AE "$shot" "$previous" null: 2>&1 || true)" = 0 ]; then
      mkdir -p "$(dirname "$reference")"
      cp "$shot" "$reference"
      rm -f "$previous"
      return 0
    fi
    cp "$shot" "$previous"
    return 1
  fi
  [ -f "$reference" ] || { differing="no reference $reference (QUORIL_E2E_UPDATE=1 writes it)"; return 1; }
  differing=$(compare -metric AE -fuzz 10% "$shot" "$reference" "${shot%.png}-diff.png" 2>&1 >/dev/null || true)
  # The count may come in exponent form ("1.9e+05").
  differing=$(printf '%s\n' "$differing" | awk 'NR == 1 && $1 ~ /^[0-9.e+]+$/ { printf "%d", $1 }')
  [ -n "$differing" ] && [ "$differing" -le $(( w * h / 100 )) ]
}

# Text output (CRs dropped) against a committed expectation: true when they agree; with
# QUORIL_E2E_UPDATE=1 the output becomes the expectation instead. `differing` says why not.
text_matches_expectation() { # actual expected diff-file
  tr -d '\r' <"$1" >"$1.clean"
  if [ "${QUORIL_E2E_UPDATE:-}" = 1 ]; then
    cp "$1.clean" "$2"
    return 0
  fi
  [ -f "$2" ] || { differing="no expectation $2 (QUORIL_E2E_UPDATE=1 writes it)"; return 1; }
  diff -u "$2" "$1.clean" >"$3" && return 0
  differing="differs from $2 (see $3)"
  return 1
}
