# Sourced by the scripts that run the real program under Wine on a virtual display (e2e.sh,
# dll-planting.sh). Whatever happens once it is sourced (a failed check, set -e, a signal, ctest's
# time-out), the program (`pid`, set by the caller while it runs), every other Wine process of the
# prefix and the virtual display go with the script.
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
# collide. Usage: start_virtual_display WORKDIR
start_virtual_display() {
  local displayfile="$1/display"
  : >"$displayfile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >"$1/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    grep -qE '^[0-9]+$' "$displayfile" && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  grep -qE '^[0-9]+$' "$displayfile" || { echo "Xvfb did not start (see $1/xvfb.log)" >&2; exit 1; }
  export DISPLAY=":$(head -n 1 "$displayfile")"
  xdpyinfo >/dev/null 2>&1 || { echo "cannot reach Xvfb on $DISPLAY" >&2; exit 1; }
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
  timeout 60 wine reg add 'HKCR\HTTP\shell\open\command' /ve /d "\"C:\\$folder\\browser.exe\" \"%1\"" /f >/dev/null 2>&1
  # DNS settings saved by an earlier run would be put back by this run's restore.
  timeout 60 wine reg delete 'HKCU\Software\Quoril' /f >/dev/null 2>&1 || true
}
