#!/usr/bin/env bash
# End to end: the real Quoril.exe under Wine on a private virtual display, once in Chinese and once in
# English. For each language it checks that the window is 360 x 543 and centred, compares a
# screenshot of it with the committed reference (with a tolerance: text rasterisation differs, and
# a tight one for the status line under the buttons, which says DHCP is in force here), drags
# it by the top strip, clicks every button with xdotool and compares the commands the recorder
# stand-ins of netsh, ipconfig and the browser logged, line by line, with what the button must start,
# checks and dismisses each message box, and finally ends the program (Escape in one run, the close
# button in the other) expecting exit code 0. Before each run hostile saved settings are planted in
# the user's own hive, where any unelevated program could write them: no command may ever carry a
# planted address, and the settings the first profile saves must appear under
# HKLM\Software\Quoril\SavedDns\<SID>. A second copy started while the window is up must only bring
# that window to the front and end, and a change from the command line must refuse with exit code 4.
# After both runs the command line for administrators runs without a window: /status, a profile and
# a restore against the recorder, and arguments it must refuse.
#
# With QUORIL_E2E_DPI (LogPixels of the prefix, 96 unless set) the window, every click and the
# screenshot scale with it: 540 x 815 at 144, compared with e2e-<language>-144dpi.png.
#
# Usage: e2e.sh QUORIL_EXE RECORDER_EXE WORKDIR
#   QUORIL_E2E_UPDATE=1 writes the reference screenshots instead of comparing with them.
# Nothing here reaches the machine's network settings: netsh and ipconfig in the test prefix are the
# recorder, and the web pages go to the recorder too.
set -euo pipefail
# Byte-wise text handling: connection names may be code page 936 bytes.
export LC_ALL=C
# Text is searched from here-strings, never piped into `grep -q`: bash's printf writes a line at a
# time, and grep ending at the first match would fail the pipe (pipefail) with the later lines.

exe=$(realpath "$1")
recorder=$(realpath "$2")
work=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
references="$here/data"

mkdir -p "$work"
prefix="$work/wineprefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all

# shellcheck source=program-run.sh
source "$here/program-run.sh"
require_tools e2e Xvfb xdotool xprop import compare xdpyinfo wine wineserver
require_files e2e "$exe" "$recorder"

"$root/tools/wine-prefix.sh" "$prefix" display
set_prefix_dpi
use_recorder "$recorder" quoril-e2e
log="$prefix/drive_c/quoril-e2e/commands.log"

start_virtual_display "$work"

failures=0
lang=setup

# The servers and pages come from the program's own table, so the expectations follow it.
profiles="$root/app/DnsProfiles.h"
profile() { # name -> "primary second third" (third "-" when the profile has none)
  sed -n "s/.*$1 = {\"\([^\"]*\)\", \"\([^\"]*\)\", \(nullptr\|\"\([^\"]*\)\"\)}.*/\1 \2 \4/p" "$profiles" |
    awk '{ print $1, $2, ($3 == "" ? "-" : $3) }'
}
url() { sed -n "s/.*$1 = \"\([^\"]*\)\".*/\1/p" "$profiles"; }
read -r blocking1 blocking2 blocking3 <<<"$(profile kBlockingProfile)"
read -r pure1 pure2 pure3 <<<"$(profile kPureProfile)"
read -r family1 family2 family3 <<<"$(profile kFamilyProfile)"
read -r blocking61 blocking62 blocking63 <<<"$(profile kBlockingProfileIpv6)"
read -r pure61 pure62 pure63 <<<"$(profile kPureProfileIpv6)"
read -r family61 family62 family63 <<<"$(profile kFamilyProfileIpv6)"
test_page=$(url kBlockingTestUrl)
home_page=$(url kHomePageUrl)
[ -n "$blocking3" ] && [ -n "$family2" ] && [ -n "$blocking63" ] && [ -n "$family62" ] && [ -n "$test_page" ] && [ -n "$home_page" ] ||
  { echo "e2e: cannot read the profiles from $profiles" >&2; exit 1; }
fail() { echo "FAIL [$lang]: $*" >&2; failures=$((failures + 1)); }

# Sets `commands` to the lines the recorder wrote since the last call, as "program<TAB>command
# line" (the tick dropped, the path cut to its file name). Not for a subshell: it keeps its place.
seen=0
commands=
take_commands() {
  local total
  total=$(wc -l <"$log" 2>/dev/null || echo 0)
  commands=
  if [ "$total" -gt "$seen" ]; then
    commands=$(tail -n +"$((seen + 1))" "$log" | head -n "$((total - seen))" | tr -d '\r' |
      awk -F'\t' '{ n = split($2, p, "\\"); print p[n] "\t" $3 }')
  fi
  seen=$total
}
# Waits (bounded) until the recorder has written more than the lines already taken. Pages start
# through the desktop shell, a hop through another process that is slow on a busy machine.
wait_log_grows() {
  for _ in $(seq 300); do
    [ "$(wc -l <"$log" 2>/dev/null || echo 0)" -gt "$seen" ] && return 0
    sleep 0.2
  done
  return 1
}
# Waits until the log has been quiet for a moment.
settle_log() {
  local before=-1 now
  for _ in $(seq 150); do
    now=$(wc -l <"$log" 2>/dev/null || echo 0)
    [ "$now" = "$before" ] && return 0
    before=$now
    sleep 0.4
  done
}

click_at() { xdotool mousemove "$1" "$2" click 1; }
# A click at window coordinates given in 96-DPI pixels of the skin.
click_in() { click_at $((x + $(px "$1"))) $((y + $(px "$2"))); }

# The commands a profile button must start for the given connection names: per server, every
# connection, then a pause and one flush; then each connection's IPv6 servers and one more flush.
expected_profile() { # primary second third(or -) ipv6-primary ipv6-second ipv6-third(or -) names...
  local primary=$1 second=$2 third=$3 primary6=$4 second6=$5 third6=$6; shift 6
  local name
  for name in "$@"; do
    printf 'netsh.exe\tnetsh interface ip set dns name="%s" source=static addr=%s register=primary validate=no\n' "$name" "$primary"
  done
  printf 'ipconfig.exe\tipconfig /flushdns\n'
  for name in "$@"; do printf 'netsh.exe\tnetsh interface ip add dns name="%s" addr=%s index=2 validate=no\n' "$name" "$second"; done
  printf 'ipconfig.exe\tipconfig /flushdns\n'
  if [ "$third" != - ]; then
    for name in "$@"; do printf 'netsh.exe\tnetsh interface ip add dns name="%s" addr=%s index=3 validate=no\n' "$name" "$third"; done
    printf 'ipconfig.exe\tipconfig /flushdns\n'
  fi
  for name in "$@"; do
    printf 'netsh.exe\tnetsh interface ipv6 set dns name="%s" source=static addr=%s register=primary validate=no\n' "$name" "$primary6"
    printf 'netsh.exe\tnetsh interface ipv6 add dns name="%s" addr=%s index=2 validate=no\n' "$name" "$second6"
    if [ "$third6" != - ]; then
      printf 'netsh.exe\tnetsh interface ipv6 add dns name="%s" addr=%s index=3 validate=no\n' "$name" "$third6"
    fi
  done
  printf 'ipconfig.exe\tipconfig /flushdns\n'
}
# Restore: what the first profile saved, which in this prefix is DHCP everywhere (no interface has
# servers set by hand), so DHCP per connection with its flush, then IPv6 DHCP and one flush.
expected_restore() {
  local name
  for name in "$@"; do
    printf 'netsh.exe\tnetsh interface ip set dns name="%s" source=dhcp\n' "$name"
    printf 'ipconfig.exe\tipconfig /flushdns\n'
  done
  for name in "$@"; do printf 'netsh.exe\tnetsh interface ipv6 set dns name="%s" source=dhcp\n' "$name"; done
  printf 'ipconfig.exe\tipconfig /flushdns\n'
}

compare_lines() { # what expected actual
  if ! diff -u <(printf '%s\n' "$2") <(printf '%s\n' "$3") >"$work/diff-$lang-$1.txt"; then
    fail "$1: the commands differ from the expected ones (see $work/diff-$lang-$1.txt)"
    return 1
  fi
}

# Clicks a button that applies DNS settings; checks the commands and the message box. The
# connection names are whatever this machine has: the first profile's log gives them, and every
# later expectation is built from that list (the generator gets the names appended).
names=()
dns_button() { # what x y caption generator args...
  local what=$1 x=$2 y=$3 caption=$4; shift 4
  click_at "$x" "$y"
  local box
  if ! box=$(wait_window "$caption"); then
    fail "$what: no message box"
    return
  fi
  settle_log
  local actual expected
  take_commands
  actual=$commands
  if [ "${#names[@]}" = 0 ]; then
    mapfile -t names < <(printf '%s\n' "$actual" |
      sed -n 's/^netsh\.exe\tnetsh interface ip set dns name="\(.*\)" source=static addr=.*$/\1/p')
    [ "${#names[@]}" -gt 0 ] || fail "$what: no connection was set at all"
  fi
  expected=$("$@" "${names[@]}")
  if ! compare_lines "$what" "$expected" "$actual"; then
    # What the program told the user about it, for whoever reads the failure.
    import -window "$box" "$work/box-$lang-$what.png" 2>/dev/null || true
  fi
  # Keys go to the X focus through XTEST (Wine ignores synthetic events sent to a window).
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  xdotool key Return
  wait_no_window "$caption" || fail "$what: the message box stayed"
}

# Screenshot of the window at x y w h into $work/window-$lang.png; true when it matches the
# committed reference (see shot_matches_reference) and its status line does.
window_matches_reference() { # x y w h
  local shot="$work/window-$lang.png" reference="$references/e2e-$lang$(dpi_suffix).png"
  shot_matches_reference "$1" "$2" "$3" "$4" "$shot" "$reference" || return 1
  [ "${QUORIL_E2E_UPDATE:-}" = 1 ] || status_line_matches "$shot" "$reference"
}

# The status line under the buttons (300 x 22 at 30,517) is too small for the whole-window budget:
# its text is about 400 to 500 pixels. It must show text (dark pixels on the light background), and
# the same text as the reference: an empty or different line differs in hundreds of pixels.
count_pixels() { printf '%s\n' "$1" | awk 'NR == 1 && $1 ~ /^[0-9.e+]+$/ { printf "%d", $1 }'; }
status_line_matches() { # shot reference
  local region ink same
  region=$(px 300)x$(px 22)+$(px 30)+$(px 517)
  ink=$(count_pixels "$(convert "$1" -crop "$region" +repage -colorspace gray -threshold 75% -negate \
    -format '%[fx:mean*w*h]' info: 2>/dev/null || true)")
  same=$(count_pixels "$(compare -metric AE -fuzz 10% "$1[$region]" "$2[$region]" null: 2>&1 || true)")
  local least=$(($(px 10) * $(px 10))) most=$(($(px 10) * $(px 10)))
  if [ -z "$ink" ] || [ "$ink" -lt "$least" ] || [ -z "$same" ] || [ "$same" -gt "$most" ]; then
    differing="status line: ${ink:-?} dark pixels (at least $least), ${same:-?} differing from the reference (at most $most)"
    return 1
  fi
}

# Hostile saved settings in the user's own hive, for every connection name this run may meet (the
# ones an earlier run learnt, and the host's interface names Wine reports), one of them too long to
# read whole. The program must never take them for its own.
planted_pattern='6\.6\.6\.6|6\.6\.4\.4|2001:db8::66'
plant_hostile_values() { # names...
  local reg="$work/hostile.reg" name
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quoril\\SavedDns]\r\n'
    # The first name's value is 200 KB: too long to read whole.
    printf '"%s"="ipv4=6.6.6.6,%s"\r\n' "$1" "$(head -c 204800 /dev/zero | tr '\0' '6')"
    shift
    for name in "$@"; do
      printf '"%s"="ipv4=6.6.6.6,6.6.4.4;ipv6=2001:db8::66"\r\n' "$name"
    done
  } >"$reg"
  timeout 60 wine regedit /s "$(winepath -w "$reg")" >/dev/null 2>&1 || fail "could not plant the hostile values"
  grep -q '6\.6\.6\.6' <<<"$(timeout 60 wine reg query 'HKCU\Software\Quoril\SavedDns' 2>/dev/null)" ||
    fail "the hostile values are not in place"
}

# The settings the first profile saved: a value per connection under the desktop user's SID.
check_saved_settings() { # names...
  local saved name
  saved=$(timeout 60 wine reg query 'HKLM\Software\Quoril\SavedDns' /s 2>/dev/null | tr -d '\r')
  grep -q '^HKEY_LOCAL_MACHINE\\Software\\Quoril\\SavedDns\\S-1-5-[0-9-]*$' <<<"$saved" ||
    fail "no saved settings under HKLM\\Software\\Quoril\\SavedDns\\<SID>: $saved"
  for name in "$@"; do
    grep -qF "    $name    REG_SZ    ipv4=" <<<"$saved" || fail "no saved settings for $name"
  done
  if grep -qE "$planted_pattern" <<<"$saved"; then fail "a planted value was saved as the user's"; fi
}

# Other copies while the first runs: a change from the command line refuses with 4, and a second
# window copy must end by itself, with 0, leaving one window.
check_second_copy() {
  # A change from the command line takes the same lock: it changes nothing and says so.
  take_commands
  local out status=0
  out=$(LANG="$lang.UTF-8" LC_ALL="$lang.UTF-8" timeout 60 wine "$exe" /restore /quiet 2>/dev/null | tr -d '\r') || status=$?
  [ "$status" = 4 ] || fail "/restore while the window runs ended with $status, expected 4"
  [ "$out" = "Another copy of Quoril is running; nothing was changed." ] || fail "/restore while the window runs said: $out"
  settle_log
  take_commands
  [ -z "$commands" ] || fail "/restore while the window runs started: $commands"
  local second windows
  status=0
  LANG="$lang.UTF-8" LC_ALL="$lang.UTF-8" wine "$exe" >"$work/quoril-$lang-second.log" 2>&1 &
  second=$!
  for _ in $(seq 150); do kill -0 "$second" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$second" 2>/dev/null; then
    kill "$second" 2>/dev/null || true
    fail "a second copy did not end by itself"
    return
  fi
  wait "$second" || status=$?
  [ "$status" = 0 ] || fail "a second copy ended with $status, expected 0"
  windows=0
  for id in $(xdotool search --onlyvisible --name '^Quoril$' 2>/dev/null); do windows=$((windows + 1)); done
  [ "$windows" = 1 ] || fail "$windows windows titled Quoril after a second start, expected 1"
  kill -0 "$pid" 2>/dev/null || fail "the first copy ended when a second one started"
}

# The administrators' command line, no window: exit code, output, and the commands it starts.
command_line() { # expected-exit arguments... ; sets `out` and `commands`
  local expected=$1 status=0
  shift
  out=$(timeout 120 wine "$exe" "$@" 2>/dev/null | tr -d '\r') || status=$?
  settle_log
  take_commands
  [ "$status" = "$expected" ] || fail "Quoril.exe $*: exit code $status, expected $expected (output: $out)"
  if [ -n "$(find_window Quoril 2>/dev/null)" ]; then fail "Quoril.exe $* showed a window"; fi
}
check_command_line() {
  lang=command-line
  : >"$log"
  seen=0
  local name lines
  command_line 0 /status /quiet
  lines=$(printf '%s\n' "$out" | wc -l)
  [ "$lines" -ge 1 ] || fail "/status printed nothing"
  for name in "${learned_names[@]:0:${#learned_names[@]}-1}"; do
    grep -qF "$name: IPv4 automatic; IPv6 automatic; automatic" <<<"$out" ||
      fail "/status: no automatic line for $name: $out"
  done
  [ -z "$commands" ] || fail "/status started: $commands"
  command_line 0 /profile family /quiet
  # Then, on a machine with adapters that are not connected, a line naming them.
  [ "$(printf '%s\n' "$out" | head -n 1)" = "Settings applied (Family Mode)!" ] || fail "/profile family said: $out"
  compare_lines profile "$(expected_profile "$family1" "$family2" "$family3" "$family61" "$family62" "$family63" \
    "${learned_names[@]}")" "$commands" || true
  command_line 0 /restore /quiet
  [ "$(printf '%s\n' "$out" | head -n 1)" = "DNS is obtained automatically again. Please clear your browser cache manually." ] ||
    fail "/restore said: $out"
  compare_lines restore "$(expected_restore "${learned_names[@]}")" "$commands" || true
  for bad in "/profile" "/profile strict /quiet" "/status /restore" "/quiet"; do
    # shellcheck disable=SC2086
    command_line 3 $bad
    grep -q '^Usage: Quoril.exe /profile blocking|pure|family \[/quiet\]$' <<<"$out" ||
      fail "Quoril.exe $bad: no usage text: $out"
    [ -z "$commands" ] || fail "Quoril.exe $bad started: $commands"
  done
  if grep -qE "$planted_pattern" "$log" 2>/dev/null; then fail "the command line carried a planted address"; fi
  wine_idle || fail "Wine processes were still running after the command line"
}

learned_names=()
run_language() { # locale caption closing-way
  lang=$1
  : >"$log"
  seen=0
  # shellcheck disable=SC2046
  plant_hostile_values "${learned_names[@]}" $(ls /sys/class/net 2>/dev/null) Ethernet
  LANG="$lang.UTF-8" LC_ALL="$lang.UTF-8" wine "$exe" >"$work/quoril-$lang.log" 2>&1 &
  pid=$!
  drive_program "$2" "$3" || true
  if grep -qE "$planted_pattern" "$log" 2>/dev/null; then
    fail "a command carried a planted address: $(grep -E "$planted_pattern" "$log" | head -n 3 | tr '\t' ' ')"
  fi
  learned_names=("${names[@]}")
  # Whatever went wrong above, nothing of this run may linger into the next one.
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    pid=
  fi
  wine_idle || fail "Wine processes were still running after the run"
}

drive_program() { # caption closing-way
  local caption=$1 closing=$2
  local main
  if ! main=$(wait_window Quoril); then
    fail "no window appeared"
    return
  fi
  local x y w h
  # The skin's 360 x 466 at the run's scale, the height then grown by 7/6 (360 x 543 at 96 DPI,
  # 540 x 815 at 144), centred on the 1280 x 1024 screen (halves truncated).
  local ew eh ex ey
  ew=$(px 360)
  eh=$(($(px 466) * 7 / 6))
  ex=$((640 - ew / 2))
  ey=$((512 - eh / 2))
  read -r x y w h <<<"$(wait_geometry "$main" "$ex $ey $ew $eh")"
  [ "$w" = "$ew" ] && [ "$h" = "$eh" ] || fail "window is ${w}x${h}, expected ${ew}x${eh}"
  [ "$x" = "$ex" ] && [ "$y" = "$ey" ] || fail "window at $x,$y, expected $ex,$ey"

  # The window appears under the pointer (the screen's centre: the first button). Moving off the
  # window is not enough: this Wine sends no leave when the pointer goes to the bare root window,
  # and a pointer moved on a display with no client yet stays where it was. A move onto the plain
  # background inside the window always arrives, and takes the hot look off the button.
  xdotool mousemove $((x + $(px 20))) $((y + $(px 300)))

  # The window as drawn, against the committed reference, once it has painted.
  local matched=
  differing=
  rm -f "$work/window-$lang-previous.png"
  for _ in $(seq 40); do
    if window_matches_reference "$x" "$y" "$w" "$h"; then matched=1; break; fi
    sleep 0.25
  done
  [ -n "$matched" ] || fail "screenshot differs from the reference: ${differing:-?} pixels (see $work/window-$lang-diff.png)"

  # Dragging the top strip moves the window.
  xdotool mousemove $((x + 120)) $((y + $(px 12))) mousedown 1
  # Motion in steps, so the system's move loop sees each one.
  for step in 1 2 3 4 5; do xdotool mousemove $((x + 120 + 8 * step)) $((y + $(px 12) + 6 * step)); sleep 0.05; done
  xdotool mouseup 1
  local nx ny
  read -r nx ny _ _ <<<"$(wait_geometry "$main" "$((x + 40)) $((y + 30)) * *")"
  [ "$nx" = $((x + 40)) ] && [ "$ny" = $((y + 30)) ] || fail "drag moved the window to $nx,$ny, expected $((x + 40)),$((y + 30))"
  x=$nx
  y=$ny

  check_second_copy

  # Button centres, in window coordinates: the wide buttons at 80..280 and 222 + 60k..272 + 60k.
  names=()
  dns_button intercept $((x + $(px 180))) $((y + $(px 247))) "$caption" expected_profile "$blocking1" "$blocking2" "$blocking3" \
    "$blocking61" "$blocking62" "$blocking63"
  # The dial-up entry (always tried last) is in no adapter list: nothing of it is saved.
  check_saved_settings "${names[@]:0:${#names[@]}-1}"
  dns_button pure $((x + $(px 180))) $((y + $(px 307))) "$caption" expected_profile "$pure1" "$pure2" "$pure3" \
    "$pure61" "$pure62" "$pure63"
  dns_button family $((x + $(px 180))) $((y + $(px 367))) "$caption" expected_profile "$family1" "$family2" "$family3" \
    "$family61" "$family62" "$family63"
  dns_button restore $((x + $(px 180))) $((y + $(px 487))) "$caption" expected_restore

  # The two web pages go to the "browser".
  click_in 180 427
  wait_log_grows || true
  settle_log
  take_commands
  compare_lines test-page "browser.exe	$test_page" "$(printf '%s\n' "$commands" | sed 's/\t.*browser\.exe"\{0,1\} /\t/')" || true
  click_in 175 125
  wait_log_grows || true
  settle_log
  take_commands
  compare_lines home-page "browser.exe	$home_page" "$(printf '%s\n' "$commands" | sed 's/\t.*browser\.exe"\{0,1\} /\t/')" || true

  # Ending: Escape, or the close button (336,0 24 x 24).
  if [ "$closing" = escape ]; then
    # A click on the background (below the buttons) gives the window the keyboard first.
    click_in 20 530
    xdotool key Escape
  else
    click_in 348 12
  fi
  local status=0
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    # What was on the screen then, for whoever reads the failure.
    import -window root "$work/not-ended-$lang.png" 2>/dev/null || true
    fail "the program did not end after $closing; windows: $(for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      LC_ALL=C.UTF-8 xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed 's/.*= //'; done | tr '\n' ' ')"
  else
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "exit code $status after $closing, expected 0"
  fi
}

run_language zh_CN '提示' close-button
run_language en_US 'Notice' escape
# The command line shows no window: one scale is enough for it.
[ "$dpi" != 96 ] || check_command_line

if [ "$failures" -gt 0 ]; then
  echo "e2e: $failures failure(s); screenshots and logs in $work" >&2
  exit 1
fi
echo "e2e: both languages passed"
