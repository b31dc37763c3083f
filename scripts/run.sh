#!/usr/bin/env bash
# Builds Vantory Note for Windows and runs it under Wine, on a virtual Windows
# desktop with a taskbar and a notification area (where the program lives), beside
# Wine's Notepad as a first window to stick a note on.
#
#   scripts/run.sh [--no-notepad] [--no-build]
#
#   --no-notepad   do not open Notepad (or VN_RUN_NOTEPAD=0)
#   --no-build     run the program already built in $VN_BUILD (default build/win)
#
# The Wine prefix is kept between runs (VN_RUN_PREFIX, default
# ~/.local/share/vantory-note-wine), so notes survive from one run to the next; they
# are in its drive_c/users/$USER/AppData/Local/Vantory Note folder.
#
# With a display (DISPLAY set), the desktop opens as a window on it. Without one, an
# Xvfb screen is started and the script says how to look at it. Quit the program
# from its tray menu, or press Ctrl-C: the program is asked to close the normal way
# and saves its notes, and the script ends with the program's exit code. Notepad and
# the desktop end with the program (what was typed into Notepad is not kept).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

notepad=${VN_RUN_NOTEPAD:-1}
build=1
for arg in "$@"; do
  case $arg in
    --no-notepad) notepad=0 ;;
    --no-build) build=0 ;;
    -h|--help) sed -n '2,20s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "run.sh: unknown option $arg (try --help)" >&2; exit 2 ;;
  esac
done

build_dir=${VN_BUILD:-$root/build/win}
if [ "$build" = 1 ]; then
  bash scripts/install-deps.sh
  cmake --preset win >/dev/null
  cmake --build --preset win -j "$(nproc)" --target VantoryNote
  build_dir=$root/build/win
fi
build_dir=$(cd "$build_dir" && pwd)
[ -f "$build_dir/VantoryNote.exe" ] || { echo "run.sh: no $build_dir/VantoryNote.exe (build it first)" >&2; exit 1; }

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

# The Wine server keeps the desktop between programs; cleanup ends it. One that runs
# already belongs to someone else's session of this prefix, which the cleanup would end.
if ! wineserver -p30 </dev/null >/dev/null 2>&1; then
  echo "run.sh: Wine is already running in $WINEPREFIX (another run of this script?); end it first" \
       "or choose another prefix with VN_RUN_PREFIX." >&2
  exit 1
fi

started_xvfb=0
cleanup() {
  # Whatever still runs in the prefix (Notepad, the desktop) ends with the program.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ "$started_xvfb" = 1 ]; then
    kill "$VN_XVFB_PID" >/dev/null 2>&1 || true
    while kill -0 "$VN_XVFB_PID" 2>/dev/null; do sleep 0.1; done
  fi
}
trap cleanup EXIT

# A Ctrl-C in the terminal goes to the whole foreground process group. The display,
# the Wine server and the Windows programs get sessions of their own, so the signal
# reaches only this script, which then closes the program the polite way while its
# display and Wine are still there. (The Wine server makes a session of its own.)
if [ -z "${DISPLAY:-}" ]; then
  vn_xvfb_start "$size" session
  started_xvfb=1
  cat <<EOF
No display found: Vantory Note runs on the virtual screen $DISPLAY.
  Look at it:   import -display $DISPLAY -window root screen.png
  Click on it:  DISPLAY=$DISPLAY xdotool mousemove X Y click 1   (the tray icon is near $((${size%x*} - 11)),$((${size#*x} - 10)); right-click it with click 3)
  Or watch it live with a VNC server, for example: x11vnc -display $DISPLAY
EOF
fi

# From the build folder: the program reads its tile picture hig.png from the current
# folder.
cd "$build_dir"
setsid wine explorer "/desktop=$desktop,$size" </dev/null >/dev/null 2>&1 &
if [ "$notepad" = 1 ]; then
  echo "Opening Notepad as a window to stick a note on (--no-notepad leaves it out)."
  setsid wine notepad </dev/null >/dev/null 2>&1 &
fi

interrupted=0
on_signal() { interrupted=1; }
trap on_signal INT TERM HUP
echo "Starting Vantory Note on the Wine desktop \"$desktop\" ($size). Quit it from its tray menu, or press Ctrl-C."
setsid wine VantoryNote.exe </dev/null &
program_pid=$!

close_program() {
  # taskkill without /f posts WM_CLOSE to the program's windows: it saves and leaves.
  # Right after the start it may have no window yet; then it is asked again.
  echo "Asking Vantory Note to close (it saves its notes)..."
  local attempt
  for attempt in $(seq 1 20); do
    wine taskkill /im VantoryNote.exe >/dev/null 2>&1 && return 0
    kill -0 "$program_pid" 2>/dev/null || return 0
    sleep 0.5
  done
  echo "Vantory Note did not take the request; quit it from its tray menu." >&2
}

# A signal interrupts the wait; then the program is asked to close and waited for
# again, until its own exit code is known.
while :; do
  if [ "$interrupted" = 1 ]; then
    interrupted=0
    close_program
  fi
  if wait "$program_pid"; then status=0; else status=$?; fi
  # Still there: the wait was cut short by a signal. Gone: status is its exit code.
  kill -0 "$program_pid" 2>/dev/null || break
done
trap - INT TERM HUP
echo "Vantory Note ended (exit code $status)."
exit "$status"
