#!/usr/bin/env bash
# The installer as a user and an administrator meet it, under Wine on a private virtual display, in a
# fresh prefix:
#   1. Every signature verifies (the setup; after installing, the program and the uninstaller).
#   2. A silent install (/S, with a /D folder a user could write to, which must not be taken) puts
#      Quoril.exe, Uninstall.exe and the notices in the 64-bit Program Files, a Start-menu shortcut for all users
#      and the uninstall entry with its values; the installed program starts and shows its window.
#   3. The installed program's command line: /status, /profile family /quiet and /restore /quiet end
#      with exit code 0 and start the commands they should (recorded), refused arguments with 3.
#   4. With saved DNS settings in the registry, the silent uninstaller starts the installed program
#      to put them back (its window, or the commands it starts, show it), then removes the program,
#      the shortcut, the uninstall entry and HKLM\Software\Quoril.
#   5. With a recorder standing in for the installed program: no saved settings, no start; saved
#      settings, exactly `"<folder>\Quoril.exe" /restore /quiet`; a restore that fails (exit code 1)
#      leaves everything in place, and the next uninstall, whose restore succeeds, removes it all.
#
# Usage: install.sh SETUP_EXE RECORDER_EXE CERTIFICATE_PEM VERSION WORKDIR
# Nothing here reaches the machine's network settings: netsh and ipconfig in the prefix are the
# recorder.
set -euo pipefail
export LC_ALL=C

setup=$(realpath "$1")
recorder=$(realpath "$2")
certificate=$(realpath "$3")
version=$4
work=$(realpath -m "$5")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

rm -rf "$work"
mkdir -p "$work"
prefix="$work/wineprefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all

# shellcheck source=../program/program-run.sh
source "$root/tests/program/program-run.sh"
require_tools install Xvfb xdotool xprop xdpyinfo wine wineserver osslsigncode
require_files install "$setup" "$recorder" "$certificate"

"$root/tools/wine-prefix.sh" "$prefix" display
use_recorder "$recorder" quoril-install
log="$prefix/drive_c/quoril-install/commands.log"
start_virtual_display "$work"

failures=0
stage=signatures
fail() { echo "FAIL [$stage]: $*" >&2; failures=$((failures + 1)); }

folder="$prefix/drive_c/Program Files/Quoril"
windows_folder='C:\Program Files\Quoril'
shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quoril.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quoril'
settings_key='HKLM\Software\Quoril'

verify_signature() { # file
  osslsigncode verify -CAfile "$certificate" -in "$1" >"$work/verify.log" 2>&1 ||
    fail "$(basename "$1"): the signature does not verify ($(tail -n 1 "$work/verify.log"))"
}

key_exists() { timeout 60 wine reg query "$1" >/dev/null 2>&1; }
# The data of value NAME under KEY, as `reg query` prints it.
registry_value() { # key name
  timeout 60 wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v name="$2" '$1 == name && $2 ~ /^REG_/ { sub(/^[ \t]*[^ \t]+[ \t]+REG_[A-Z_]+[ \t]+/, ""); print; exit }'
}

log_lines() { tr -d '\r' <"$log" 2>/dev/null | awk -F'\t' '{ print $2 "\t" $3 }' || true; }

silent_install() {
  timeout 120 wine "$setup" /S '/D=C:\users\Public\Quoril' || fail "the silent install exited with $?"
  wine_idle || fail "Wine processes were still running after the install"
}

# The uninstaller copies itself to a temporary folder and runs from there: the process `wine` waits
# for ends at once, and the wineserver tells when the copy (and whatever it started) has ended.
silent_uninstall() {
  timeout 60 wine "$folder/Uninstall.exe" /S || fail "the uninstaller did not start: $?"
}

expect_installed() {
  local file
  for file in Quoril.exe Uninstall.exe THIRD-PARTY-NOTICES.md; do
    [ -f "$folder/$file" ] || fail "no $file in $windows_folder"
  done
  [ -f "$shortcut" ] || fail "no Start-menu shortcut for all users"
  key_exists "$uninstall_key" || fail "no uninstall entry"
}

expect_removed() {
  [ ! -e "$folder" ] || fail "$windows_folder is still there: $(ls "$folder" 2>/dev/null | tr '\n' ' ')"
  [ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
  ! key_exists "$uninstall_key" || fail "the uninstall entry is still there"
  ! key_exists "$settings_key" || fail "$settings_key is still there"
}

# Saved settings as the program keeps them: one subkey per user under SavedDns.
save_settings() {
  timeout 60 wine reg add "$settings_key\\SavedDns\\S-1-5-21-1000-1000-1000-1001" /v eth0 \
    /d 'ipv4=dhcp;ipv6=dhcp' /f >/dev/null 2>&1 || fail "cannot write saved settings"
}

# Escape closes the program's window once it has the keyboard (a click on its background gives it),
# after it has taken its place and size (360 x 543).
close_program_window() { # window id
  local x y w h
  for _ in 1 2 3; do
    read -r x y w h <<<"$(wait_geometry "$1" "* * 360 543")"
    xdotool mousemove $((x + 20)) $((y + h - 13)) click 1
    xdotool key Escape
    wait_no_window Quoril && return 0
  done
  fail "the program's window did not close on Escape"
}

#--- 1 and 2: the signed setup installs silently where only administrators write ---------------
verify_signature "$setup"

stage=install
silent_install
expect_installed
[ ! -e "$prefix/drive_c/users/Public/Quoril" ] || fail "the install took the /D folder a user can write to"
[ ! -e "$prefix/drive_c/Program Files (x86)/Quoril" ] || fail "installed into the 32-bit Program Files"
stage=signatures
verify_signature "$folder/Quoril.exe"
verify_signature "$folder/Uninstall.exe"

stage=uninstall-entry
while IFS='|' read -r name expected; do
  actual=$(registry_value "$uninstall_key" "$name")
  [ "$actual" = "$expected" ] || fail "$name is '$actual', expected '$expected'"
done <<EOF_VALUES
DisplayName|Quoril
DisplayVersion|$version
Publisher|Quoril
UninstallString|"$windows_folder\\Uninstall.exe"
QuietUninstallString|"$windows_folder\\Uninstall.exe" /S
DisplayIcon|$windows_folder\\Quoril.exe
EOF_VALUES
# The installed size in KiB: at least the program's own.
size=$(registry_value "$uninstall_key" EstimatedSize)
program_kib=$(( $(stat -c %s "$folder/Quoril.exe") / 1024 ))
[ -n "$size" ] && [ $((size)) -ge "$program_kib" ] || fail "EstimatedSize is '$size', expected at least $program_kib"

stage=start
wine "$folder/Quoril.exe" >"$work/quoril.log" 2>&1 &
pid=$!
if main=$(wait_window Quoril); then
  close_program_window "$main"
else
  fail "the installed program showed no window"
fi
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$pid" 2>/dev/null; then
  fail "the installed program did not end"
  kill "$pid" 2>/dev/null || true
fi
pid=
wine_idle || fail "Wine processes were still running after the program"

#--- 3: the installed program's command line for administrators, against the recorder stand-ins ---
# The family profile's first servers, from the program's own table.
profiles="$root/app/DnsProfiles.h"
family4=$(sed -n 's/.*kFamilyProfile = {"\([^"]*\)".*/\1/p' "$profiles")
family6=$(sed -n 's/.*kFamilyProfileIpv6 = {"\([^"]*\)".*/\1/p' "$profiles")
[ -n "$family4" ] && [ -n "$family6" ] || { echo "install: cannot read the profiles from $profiles" >&2; exit 1; }
installed_command() { # expected-exit arguments... ; sets `out`
  local expected=$1 status=0
  shift
  : >"$log"
  out=$(timeout 120 wine "$folder/Quoril.exe" "$@" 2>/dev/null | tr -d '\r') || status=$?
  wine_idle || fail "Wine processes were still running after Quoril.exe $*"
  [ "$status" = "$expected" ] || fail "Quoril.exe $*: exit code $status, expected $expected (output: $out)"
  if find_window Quoril >/dev/null 2>&1; then fail "Quoril.exe $* showed a window"; fi
}
stage=command-line
installed_command 0 /status /quiet
[ -n "$out" ] || fail "/status printed nothing"
[ -z "$(log_lines)" ] || fail "/status started: $(log_lines)"
installed_command 0 /profile family /quiet
[ "$(printf '%s\n' "$out" | head -n 1)" = "Settings applied (Family Mode)!" ] || fail "/profile family said: $out"
grep -F 'netsh' <<<"$(log_lines)" | grep -F "$family4" | grep -qF 'validate=no' ||
  fail "/profile family set no IPv4 family server: $(log_lines)"
grep -F 'netsh' <<<"$(log_lines)" | grep -qF "$family6" || fail "/profile family set no IPv6 family server: $(log_lines)"
grep -qiF 'flushdns' <<<"$(log_lines)" || fail "/profile family flushed no resolver cache: $(log_lines)"
timeout 60 wine reg query "$settings_key\\SavedDns" /s >"$work/saved.txt" 2>/dev/null || true
grep -q 'SavedDns\\S-1-5-' "$work/saved.txt" || fail "/profile family saved no settings under $settings_key\\SavedDns"
installed_command 0 /restore /quiet
grep -F 'netsh' <<<"$(log_lines)" | grep -qF 'source=dhcp' || fail "/restore put back no automatic DNS: $(log_lines)"
installed_command 3 /profile strict /quiet
[ -z "$(log_lines)" ] || fail "refused arguments started: $(log_lines)"

#--- 4: the uninstaller puts the saved settings back with the installed program, then removes all --
stage=uninstall
: >"$log"
save_settings
silent_uninstall &
uninstaller=$!
# The restore shows as the commands it starts, as the program's own window while it takes no
# command line (closed then as a user would), or at least as its process with that command line.
# Only this prefix's processes: other Wine prefixes on the machine may run a Quoril.exe of their own.
restore_process() {
  local id
  for id in $(pgrep -f 'Quoril\.exe' || true); do
    tr '\0' '\n' <"/proc/$id/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" &&
      tr '\0' ' ' <"/proc/$id/cmdline" 2>/dev/null && echo
  done
  return 0
}
restore_seen=
started=
for _ in $(seq 300); do
  if [ -n "$(log_lines)" ]; then
    restore_seen=commands
    break
  fi
  process=$(restore_process)
  if [ -n "$process" ]; then
    started=1
    printf '%s\n' "$process" >"$work/restore-process.txt"
    grep -qF '/restore /quiet' <<<"$process" || fail "the program started without /restore /quiet: $process"
  elif [ -n "$started" ]; then
    restore_seen=process
    break
  fi
  if main=$(find_window Quoril); then
    restore_seen=window
    close_program_window "$main"
    break
  fi
  sleep 0.2
done
[ -n "$restore_seen" ] || fail "the uninstaller did not start the program to put the saved settings back"
wait "$uninstaller" || true
wine_idle || fail "Wine processes were still running after the uninstall"
echo "install: the uninstaller's restore showed as: ${restore_seen:-nothing}"
expect_removed

#--- 5: the restore's command line and its failure, with a recorder as the installed program ------
stand_in_install() {
  silent_install
  install -m 755 "$recorder" "$folder/Quoril.exe"
  : >"$log"
}
restore_line=$(printf '%s\t%s' "$windows_folder\\Quoril.exe" "\"$windows_folder\\Quoril.exe\" /restore /quiet")

stage=no-saved-settings
stand_in_install
silent_uninstall
wine_idle || fail "Wine processes were still running after the uninstall"
[ -z "$(log_lines)" ] || fail "the program was started with nothing to put back: $(log_lines)"
expect_removed

stage=restore-fails
stand_in_install
save_settings
QUORIL_RECORDER_EXIT=1 silent_uninstall
wine_idle || fail "Wine processes were still running after the uninstall"
[ "$(log_lines)" = "$restore_line" ] || fail "the restore ran as '$(log_lines)', expected '$restore_line'"
expect_installed
key_exists "$settings_key\\SavedDns\\S-1-5-21-1000-1000-1000-1001" || fail "the saved settings were removed"

stage=restore-succeeds
: >"$log"
silent_uninstall
wine_idle || fail "Wine processes were still running after the uninstall"
[ "$(log_lines)" = "$restore_line" ] || fail "the restore ran as '$(log_lines)', expected '$restore_line'"
expect_removed

if [ "$failures" -gt 0 ]; then
  echo "install: $failures failure(s); logs in $work" >&2
  exit 1
fi
echo "install: signed, installed, started, restored on uninstall and removed"
