# Shared helpers for running Wine in tests; source it, do not run it.
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts, and no entries in the Linux desktop's menus for shortcuts
# that Windows programs (an installer) make.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export LANG=${LANG:-C.UTF-8}
VN_WINE_ROOT=${VN_WINE_ROOT:-/tmp/vn-wine-$(id -u)}

# Makes the template prefix once (about 8 s), under a lock so parallel tests share it.
vn_wine_template() {
  mkdir -p "$VN_WINE_ROOT"
  (
    flock 9
    if [ ! -f "$VN_WINE_ROOT/template/.ready-2" ]; then
      rm -rf "$VN_WINE_ROOT/template"
      mkdir -p "$VN_WINE_ROOT/template"
      export WINEPREFIX="$VN_WINE_ROOT/template"
      DISPLAY= wineboot -i >/dev/null 2>&1 || true
      # Every program runs inside one virtual desktop: it has a taskbar with a
      # notification area, and hiding a window does not wait two seconds for a
      # window manager that Xvfb does not have.
      DISPLAY= wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
      DISPLAY= wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1 || true
      wineserver -w || true
      touch "$VN_WINE_ROOT/template/.ready-2"
    fi
  ) 9>"$VN_WINE_ROOT/.lock"
}

# Sets WINEPREFIX to a fresh copy of the template. With VN_WINE_DPI (say 144) the
# prefix's display runs at that DPI: Wine 8 reads LogPixels under
# HKCU\Control Panel\Desktop (the value under HKLM\...\Hardware Profiles\Current\
# Software\Fonts changes nothing there) and gives every monitor that DPI.
vn_wine_fresh_prefix() {
  vn_wine_template
  WINEPREFIX=$(mktemp -d "$VN_WINE_ROOT/run.XXXXXX")
  export WINEPREFIX
  cp -a "$VN_WINE_ROOT/template/." "$WINEPREFIX/"
  if [ -n "${VN_WINE_DPI:-}" ]; then
    DISPLAY= wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VN_WINE_DPI" /f >/dev/null 2>&1
    # The server started without a display ends first: programs run later get one.
    wineserver -w
  fi
}

# Starts Xvfb on a free display and exports DISPLAY (Wine makes no windows without one).
#   vn_xvfb_start [SIZE] [session]
# With "session" the server gets a session of its own, so that a Ctrl-C in the
# terminal (sent to the whole foreground process group) does not take the display
# away from programs that are still closing.
vn_xvfb_start() {
  local size=${1:-1280x800}
  local launcher=()
  [ "${2:-}" = session ] && launcher=(setsid)
  # The server picks a free display itself and writes its number to fd 3: two
  # scripts starting at the same moment cannot end up on one display.
  local pipe n=""
  pipe=$(mktemp -u "${TMPDIR:-/tmp}/vn-xvfb.XXXXXX")
  mkfifo "$pipe"
  "${launcher[@]}" Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$pipe" >/dev/null 2>&1 &
  VN_XVFB_PID=$!
  read -r -t 30 n <"$pipe" || true
  rm -f "$pipe"
  if [ -z "$n" ]; then
    kill "$VN_XVFB_PID" 2>/dev/null || true
    echo "could not start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

vn_wine_cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
  fi
  if [ -n "${VN_XVFB_PID:-}" ]; then
    kill "$VN_XVFB_PID" >/dev/null 2>&1 || true
  fi
}
