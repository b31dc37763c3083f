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

# Sets WINEPREFIX to a fresh copy of the template.
vn_wine_fresh_prefix() {
  vn_wine_template
  WINEPREFIX=$(mktemp -d "$VN_WINE_ROOT/run.XXXXXX")
  export WINEPREFIX
  cp -a "$VN_WINE_ROOT/template/." "$WINEPREFIX/"
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
  local n
  for n in $(seq 100 400); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      "${launcher[@]}" Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
      VN_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        kill -0 "$VN_XVFB_PID" 2>/dev/null || break
        sleep 0.1
      done
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
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
