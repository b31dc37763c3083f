#!/usr/bin/env bash
# Builds Vantory Note for Windows and runs it under Wine, on a virtual Windows
# desktop with a taskbar and a notification area (where the program lives).
#
#   scripts/run.sh
#
# The Wine prefix is kept between runs (VN_RUN_PREFIX, default
# ~/.local/share/vantory-note-wine), so notes survive from one run to the next; they
# are in its drive_c/users/$USER/AppData/Local/Vantory Note folder.
#
# With a display (DISPLAY set), the desktop opens as a window on it. Without one, an
# Xvfb screen is started and the script says how to look at it. Quit the program
# from its tray menu; Ctrl-C asks it to close the normal way (its notes are saved).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh
cmake --preset win >/dev/null
cmake --build --preset win -j "$(nproc)" --target VantoryNote

source scripts/wine-env.sh
export WINEPREFIX=${VN_RUN_PREFIX:-$HOME/.local/share/vantory-note-wine}
desktop=VantoryNote
size=1280x800

if [ ! -f "$WINEPREFIX/.vantory-note-ready" ]; then
  echo "Making the Wine prefix $WINEPREFIX (once, about 10 s)..."
  mkdir -p "$WINEPREFIX"
  DISPLAY= wineboot -i >/dev/null 2>&1 || true
  # Every program of this prefix joins one virtual desktop, which has a taskbar with
  # a notification area.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$desktop" /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop" /d "$size" /f >/dev/null 2>&1
  wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops\\$desktop" /v EnableShell /t REG_DWORD /d 1 /f \
    >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.vantory-note-ready"
fi

started_xvfb=0
if [ -z "${DISPLAY:-}" ]; then
  vn_xvfb_start "$size"
  started_xvfb=1
  cat <<EOF
No display found: Vantory Note runs on the virtual screen $DISPLAY.
  Look at it:   import -display $DISPLAY -window root screen.png
  Click on it:  DISPLAY=$DISPLAY xdotool mousemove X Y click 1   (the tray icon is near $((${size%x*} - 11)),$((${size#*x} - 10)); right-click it with click 3)
  Or watch it live with a VNC server, for example: x11vnc -display $DISPLAY
EOF
fi

close_program() {
  # taskkill without /f asks the program's windows to close: it saves and leaves.
  echo "Asking Vantory Note to close..."
  wine taskkill /im VantoryNote.exe >/dev/null 2>&1 || true
}
cleanup() {
  wineserver -w 2>/dev/null || true  # every process of the prefix has ended
  if [ "$started_xvfb" = 1 ]; then kill "$VN_XVFB_PID" >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT

echo "Starting Vantory Note on the Wine desktop \"$desktop\" ($size). Quit it from its tray menu."
# From the build folder: the program reads its tile picture hig.png from the current
# directory. Its own session, so that Ctrl-C reaches only this script, which then
# closes the program the polite way.
cd "$root/build/win"
setsid wine explorer "/desktop=$desktop,$size" </dev/null >/dev/null 2>&1 &
setsid wine VantoryNote.exe </dev/null &
program_pid=$!
trap close_program INT TERM
# Ctrl-C interrupts the wait; wait again for the program's own exit code.
for attempt in 1 2 3 4 5; do
  wait "$program_pid" && status=0 || status=$?
  kill -0 "$program_pid" 2>/dev/null || break
done
# It may have ended while the Ctrl-C handler ran; bash still knows its code.
if [ "$status" -gt 128 ]; then wait "$program_pid" 2>/dev/null && status=0 || status=$?; fi
echo "Vantory Note ended (exit code $status)."
exit $status
