# Sourced: brings up the Wine side for a build folder and takes it down again.
#   wine_up BUILD_DIR   prefix in BUILD_DIR/wineprefix, a persistent wineserver pinned to
#                       CPU 0, the prefix booted, and an X display (Xvfb) for dialogs
#   wine_down           stops what wine_up started
#   wine32_present      whether 32-bit programs can run (wine32:i386 installed)
#
# Every prefix is a 64-bit one: x86 programs run in its 32-bit part, as on 64-bit Windows, so an
# x86 registration lands in the 32-bit registry view (Wow6432Node), as it does for the host.

wine_up() {
  local build_dir=$1
  export WINEPREFIX="$build_dir/wineprefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"

  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 120); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi

  # The server and every program share one CPU; the services a boot starts must not hold
  # the caller's pipes open, so nothing of theirs is attached to ours.
  taskset -c 0 wineserver -p </dev/null >/dev/null 2>&1
  taskset -c 0 wine wineboot -i </dev/null >/dev/null 2>&1 || true
  # Without a window manager every closing dialog waits about 2 s unless Wine manages none.
  taskset -c 0 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  # A crashing test program ends at once instead of waiting behind a crash window nobody closes.
  taskset -c 0 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1 || true
  sleep 0.2
}

wine_down() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    unset WINE_ENV_XVFB_PID
  fi
}

wine32_present() {
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}
